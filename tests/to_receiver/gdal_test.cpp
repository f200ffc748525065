// Layers that GDAL writes convert as they should, in UTF-8 or GBK; and our
// own receiver files, turned into MIF and back, come back byte for byte,
// with GDAL reading the MIF between whole.
#include <gtest/gtest.h>

#include "support/test_support.h"
#include "to_mif/to_mif_batch.h"
#include "to_receiver/to_receiver_batch.h"

namespace carteloom::testing {
namespace {

bool Convert(BatchResult (*run)(BatchUi&, const std::string&), const std::vector<std::string>& sources,
             const ScratchFolder& out) {
  ScriptedUi ui(sources);
  return run(ui, out.Path().string()).converted == sources.size();
}
BatchResult ToMif(BatchUi& ui, const std::string& folder) { return RunToMifBatch(ui, folder); }

TEST(ToReceiverWithGdal, LayersWrittenByGdalInUtf8OrGbk) {
  if (!HaveGdal()) GTEST_SKIP() << "GDAL is not installed";
  ScratchFolder in, utf8, gbk;
  auto feature = [](const std::string& name, const std::string& type, const std::string& coordinates) {
    return R"({"type":"Feature","properties":{"name":")" + name + R"("},"geometry":{"type":")" + type +
           R"(","coordinates":)" + coordinates + "}},";
  };
  // Points, lines of one and two parts, a polygon and a feature without geometry in one layer.
  WriteBytes(in / "mixed.json", R"({"type":"FeatureCollection","features":[)" + feature("泉眼", "Point", "[116.39139,39.9075]") +
                                    feature(R"(St, \"N\")", "Point", "[-70.5,-33.25]") +
                                    feature("河堤路", "LineString", "[[116,39],[116.5,39.5],[117,40]]") +
                                    feature("TWO", "MultiLineString", "[[[5,6],[6,7]],[[7,8],[9,10]]]") +
                                    feature("AREA", "Polygon", "[[[0,0],[1,0],[1,1],[0,0]]]") +
                                    R"({"type":"Feature","properties":{"name":"NONE"},"geometry":null}]})");
  for (const char* options : {"", "-lco ENCODING=CP936"})
    ASSERT_EQ(RunCommand(std::string("ogr2ogr -f 'MapInfo File' ") + options + " '" + (in / (*options ? "gbk.mif" : "utf8.mif")) +
                         "' '" + (in / "mixed.json") + "' >/dev/null 2>&1"), 0);
  ASSERT_TRUE(Convert(RunToReceiverBatch, {in / "utf8.mif"}, utf8));
  ASSERT_TRUE(Convert(RunToReceiverBatch, {in / "gbk.mif"}, gbk));
  EXPECT_EQ(ReadBytes(utf8 / "utf8.upt"), CrLf({"$PZTJWPL,3954.450,N,11623.483,E,0000000,M,\xC8\xAA\xD1\xDB,,a*3E",
                                                "$PZTJWPL,3315.000,S,07030.000,W,0000000,M,St_ \"N\",,a*4D"}));
  EXPECT_EQ(ReadBytes(utf8 / "utf8.upt"), ReadBytes(gbk / "gbk.upt"));
  const std::string routes = ReadBytes(utf8 / "utf8.rte");
  EXPECT_EQ(routes, ReadBytes(gbk / "gbk.rte"));
  for (const char* route : {"$PZTJRTE,2,1,c,1,\xBA\xD3\xB5\xCC\xC2\xB7,WPT001_1,a,WPT002_1,a*", "$PZTJRTE,1,1,c,1,TWO,WPT001_2,a,WPT002_2,a*",
                            "$PZTJRTE,1,1,c,1,TWO,WPT001_3,a,WPT002_3,a*"})
    EXPECT_NE(routes.find(route), std::string::npos) << route;
}

TEST(ToReceiverWithGdal, OurReceiverFilesComeBackByteForByte) {
  if (!HaveGdal()) GTEST_SKIP() << "GDAL is not installed";
  // GBK names that are valid UTF-8 too (太原, 茅, 侣, 茅台) under "Neutral", and
  // a polyline of two sections, whose routes share its name.
  const std::string header = "Version 300\r\nCharset \"WindowsSimpChinese\"\r\nDelimiter \",\"\r\n"
                             "CoordSys Earth Projection 1, 104\r\nColumns 1\r\n  Name Char(20)\r\nData\r\n";
  ScratchFolder in, first, mif, second;
  WriteBytes(in / "wells.mif", header + CrLf({"Point 116.39139 39.9075", "Point 112.55 37.87", "Point 106.4 27.8",
                                              "Point -70.5 -33.25", "Point 0.5 0.25"}));
  WriteBytes(in / "wells.mid", CrLf({"WELL01", "\xCC\xAB\xD4\xAD", "\xC3\xA9", "\xC2\xB7", "\xC3\xA9\xCC\xA8"}));
  WriteBytes(in / "roads.mif", header + CrLf({"Pline Multiple 2", "  2", "116 39", "116.5 39.5", "  3", "117 40",
                                              "117.5 40.5", "118 41", "Line 1 2 3 4"}));
  WriteBytes(in / "roads.mid", CrLf({"ROAD", "\xCD\xA9\xC2\xAE"}));
  ASSERT_TRUE(Convert(RunToReceiverBatch, {in / "wells.mif", in / "roads.mif"}, first));
  ASSERT_TRUE(Convert(ToMif, {first / "wells.upt", first / "roads.rte"}, mif));
  std::string errors;
  EXPECT_EQ(OgrFeatures(mif / "wells.mif", errors).size(), 5u);
  const std::vector<OgrFeature> roads = OgrFeatures(mif / "roads.mif", errors);
  ASSERT_EQ(roads.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(roads[i].vertices, (std::vector<std::size_t>{2, 3, 2}[i]));
  EXPECT_EQ(errors, "");
  ASSERT_TRUE(Convert(RunToReceiverBatch, {mif / "wells.mif", mif / "roads.mif"}, second));
  EXPECT_EQ(ReadBytes(second / "wells.upt"), ReadBytes(first / "wells.upt"));
  EXPECT_EQ(ReadBytes(second / "roads.rte"), ReadBytes(first / "roads.rte"));
}

}  // namespace
}  // namespace carteloom::testing
