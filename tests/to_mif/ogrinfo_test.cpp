// GDAL reads every kind of MIF/MID pair the converters write: the object
// count, the geometry of each object and its name from the MID file.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "support/test_support.h"
#include "to_mif/run_converter.h"

namespace carteloom::testing {
namespace {

struct Feature {
  std::string geometry;  // "POINT" or "LINESTRING"
  std::size_t vertices = 0;
  std::string name;
  bool operator==(const Feature&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Feature& f) {
  return out << f.geometry << "/" << f.vertices << "/" << f.name;
}

// The features of `ogrinfo -al`, and the count of `ogrinfo -al -so`.
struct Layer {
  std::string featureCount;
  std::vector<Feature> features;
  std::string errors;
};

Layer ReadWithOgrinfo(const ScratchFolder& scratch, const std::string& mif) {
  Layer layer;
  RunCommand("ogrinfo -ro -al -so '" + mif + "' >'" + (scratch / "so.txt") + "' 2>&1");
  std::istringstream summary(ReadBytes(scratch / "so.txt"));
  for (std::string line; std::getline(summary, line);)
    if (line.rfind("Feature Count: ", 0) == 0) layer.featureCount = line.substr(15);

  RunCommand("ogrinfo -ro -al '" + mif + "' >'" + (scratch / "al.txt") + "' 2>&1");
  std::istringstream all(ReadBytes(scratch / "al.txt"));
  for (std::string line; std::getline(all, line);) {
    if (line.rfind("ERROR", 0) == 0) layer.errors += line + "\n";
    if (line.rfind("OGRFeature(", 0) == 0) layer.features.emplace_back();
    if (layer.features.empty()) continue;
    Feature& f = layer.features.back();
    if (line.rfind("  Comment (String) = ", 0) == 0) f.name = line.substr(21);
    for (const char* geometry : {"POINT (", "LINESTRING ("}) {
      if (line.rfind(std::string("  ") + geometry, 0) == 0) {
        f.geometry = std::string(geometry).substr(0, std::string(geometry).size() - 2);
        f.vertices = 1 + static_cast<std::size_t>(std::count(line.begin(), line.end(), ','));
      }
    }
  }
  return layer;
}

// Converts the sample files (and any extra ones) into the scratch folder with the given options.
bool ConvertSamples(const ScratchFolder& scratch, const std::string& options, const std::string& extra = "") {
  const std::string data = std::string(CARTELOOM_TEST_DATA) + "/to_mif/";
  return RunCommand(std::string("'") + CARTELOOM_CLI + "' to-mif " + options + " -o '" + scratch.Path().string() +
                    "' " + data + "wells.upt " + data + "day1.log " + data + "roads.rte " + extra + " >/dev/null") == 0;
}

class ToMifWithGdal : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_POSIX_SHELL();
    if (RunCommand("ogrinfo --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "ogrinfo is not installed";
  }
  ScratchFolder scratch_;
};

TEST_F(ToMifWithGdal, OgrinfoReadsEveryKindOfPair) {
  WriteBytes(scratch_ / "empty.upt", CrLf({"$PZTJFMT,WGS84", "$PZTJCMD,END*3D"}));
  ASSERT_TRUE(ConvertSamples(scratch_, "", std::string("'") + (scratch_ / "empty.upt") + "'"));
  const std::vector<std::pair<std::string, std::vector<Feature>>> expected{
      {"wells",
       {{"POINT", 1, "WELL01"}, {"POINT", 1, "Main St, north"}, {"POINT", 1, "\xC8\xAA\xD1\xDB"}}},
      {"day1", {{"LINESTRING", 5, "day1"}}},
      {"roads", {{"LINESTRING", 3, "ROAD1"}, {"LINESTRING", 2, "\xBA\xD3\xB5\xCC\xC2\xB7"}}},
      {"empty", {}},
  };
  for (const auto& [base, features] : expected) {
    SCOPED_TRACE(base);
    Layer layer = ReadWithOgrinfo(scratch_, scratch_ / (base + ".mif"));
    EXPECT_EQ(layer.errors, "");
    EXPECT_EQ(layer.featureCount, std::to_string(features.size()));
    EXPECT_EQ(layer.features, features);
  }
}

TEST_F(ToMifWithGdal, WindowsSimpChineseHeaderLetsGdalDecodeTheNames) {
  ASSERT_TRUE(ConvertSamples(scratch_, "--mif-charset=WindowsSimpChinese"));
  EXPECT_NE(ReadBytes(scratch_ / "wells.mif").find("Charset \"WindowsSimpChinese\"\r\n"), std::string::npos);
  // The MID keeps its GBK bytes; GDAL shows them decoded (as UTF-8).
  EXPECT_NE(ReadBytes(scratch_ / "wells.mid").find("\xC8\xAA\xD1\xDB"), std::string::npos);
  EXPECT_EQ(ReadWithOgrinfo(scratch_, scratch_ / "wells.mif").features.back().name, "泉眼");
  EXPECT_EQ(ReadWithOgrinfo(scratch_, scratch_ / "roads.mif").features.back().name, "河堤路");
}

}  // namespace
}  // namespace carteloom::testing
