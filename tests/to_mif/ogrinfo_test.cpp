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

// Runs carteloom-cli COMMAND into out over the files; its exit status.
int Cli(const std::string& command, const ScratchFolder& out, const std::vector<std::string>& files) {
  std::string line = std::string("'") + CARTELOOM_CLI + "' " + command + " --on-exist=overwrite -o '" +
                     out.Path().string() + "'";
  for (const std::string& file : files) line += " '" + file + "'";
  return RunCommand(line + " >/dev/null 2>&1");
}

TEST_F(ToMifWithGdal, PolylinesOfOneOrNoVertexAreReadWithEveryLaterOne) {
  // A route of one waypoint, one without any, and two routes of one name
  // (numbered from 1 each); a log of one point.
  WriteBytes(scratch_ / "roads.rte", CrLf({"$PZTJWPL,3900.000,N,11600.000,E,-000005,M,A,,a*00",
                                          "$PZTJWPL,3930.000,N,11630.000,E,-000005,M,B,,a*00",
                                          "$PZTJWPL,4000.000,N,11700.000,E,-000005,M,C,,a*00",
                                          "$PZTJWPL,4030.000,N,11730.000,E,-000005,M,D,,a*00",
                                          "$PZTJWPL,4100.000,N,11800.000,E,-000005,M,E,,a*00",
                                          "$PZTJRTE,1,1,c,1,ONE,A,a,,a*00", "$PZTJRTE,1,1,c,1,EMPTY,,a,,a*00",
                                          "$PZTJRTE,1,1,c,1,R,B,a,C,a*00", "$PZTJRTE,1,1,c,1,R,D,a,E,a*00",
                                          "$PZTJCMD,END*3D"}));
  WriteBytes(scratch_ / "one.log", CrLf({"$PZTJTRK,3954.1230,N,11623.5000,E,0000050,M,080000,0,1,0*12",
                                        "$PZTJCMD,END*3D"}));
  ScratchFolder out;
  ASSERT_EQ(Cli("to-mif", out, {scratch_ / "roads.rte", scratch_ / "one.log"}), 0);
  for (const auto& [base, features] : std::vector<std::pair<std::string, std::vector<Feature>>>{
           {"roads", {{"LINESTRING", 2, "ONE"}, {"", 0, "EMPTY"}, {"LINESTRING", 2, "R"}, {"LINESTRING", 2, "R"}}},
           {"one", {{"LINESTRING", 2, "one"}}}}) {
    Layer layer = ReadWithOgrinfo(scratch_, out / (base + ".mif"));
    EXPECT_EQ(layer.errors, "") << base;
    EXPECT_EQ(layer.features, features) << base;
  }
}

TEST_F(ToMifWithGdal, OurReceiverFilesComeBackByteForByte) {
  // GBK names that are valid UTF-8 too (太原, 茅, 侣, 茅台) under "Neutral", and
  // a polyline of two sections, whose routes share its name.
  const std::string header = "Version 300\r\nCharset \"WindowsSimpChinese\"\r\nDelimiter \",\"\r\n"
                             "CoordSys Earth Projection 1, 104\r\nColumns 1\r\n  Name Char(20)\r\nData\r\n";
  WriteBytes(scratch_ / "wells.mif", header + CrLf({"Point 116.39139 39.9075", "Point 112.55 37.87",
                                                    "Point 106.4 27.8", "Point -70.5 -33.25", "Point 0.5 0.25"}));
  WriteBytes(scratch_ / "wells.mid", CrLf({"WELL01", "\xCC\xAB\xD4\xAD", "\xC3\xA9", "\xC2\xB7", "\xC3\xA9\xCC\xA8"}));
  WriteBytes(scratch_ / "roads.mif", header + CrLf({"Pline Multiple 2", "  2", "116 39", "116.5 39.5", "  3", "117 40",
                                                    "117.5 40.5", "118 41", "Line 1 2 3 4"}));
  WriteBytes(scratch_ / "roads.mid", CrLf({"ROAD", "\xCD\xA9\xC2\xAE"}));
  ScratchFolder first, mif, second;
  ASSERT_EQ(Cli("to-receiver", first, {scratch_ / "wells.mif", scratch_ / "roads.mif"}), 0);
  ASSERT_EQ(Cli("to-mif", mif, {first / "wells.upt", first / "roads.rte"}), 0);
  EXPECT_EQ(ReadWithOgrinfo(scratch_, mif / "wells.mif").features.size(), 5u);
  const std::vector<Feature> roads{{"LINESTRING", 2, "ROAD"}, {"LINESTRING", 3, "ROAD"}, {"LINESTRING", 2, ""}};
  Layer layer = ReadWithOgrinfo(scratch_, mif / "roads.mif");
  ASSERT_EQ(layer.features.size(), 3u);
  for (std::size_t i = 0; i < roads.size(); ++i) {
    EXPECT_EQ(layer.features[i].geometry, roads[i].geometry);
    EXPECT_EQ(layer.features[i].vertices, roads[i].vertices);
  }
  ASSERT_EQ(Cli("to-receiver", second, {mif / "wells.mif", mif / "roads.mif"}), 0);
  EXPECT_EQ(ReadBytes(second / "wells.upt"), ReadBytes(first / "wells.upt"));
  EXPECT_EQ(ReadBytes(second / "roads.rte"), ReadBytes(first / "roads.rte"));
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
