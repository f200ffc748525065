// Layers that GDAL writes convert as they should, in UTF-8 or GBK.
#include <gtest/gtest.h>

#include "support/test_support.h"
#include "to_receiver/to_receiver_batch.h"

namespace carteloom::testing {
namespace {

bool Convert(const std::vector<std::string>& sources, const ScratchFolder& out) {
  ScriptedUi ui(sources);
  return RunToReceiverBatch(ui, out.Path().string()).converted == sources.size();
}

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
  ASSERT_TRUE(Convert({in / "utf8.mif"}, utf8));
  ASSERT_TRUE(Convert({in / "gbk.mif"}, gbk));
  EXPECT_EQ(ReadBytes(utf8 / "utf8.upt"), CrLf({"$PZTJWPL,3954.450,N,11623.483,E,0000000,M,\xC8\xAA\xD1\xDB,,a*3E",
                                                "$PZTJWPL,3315.000,S,07030.000,W,0000000,M,St_ \"N\",,a*4D"}));
  EXPECT_EQ(ReadBytes(utf8 / "utf8.upt"), ReadBytes(gbk / "gbk.upt"));
  const std::string routes = ReadBytes(utf8 / "utf8.rte");
  EXPECT_EQ(routes, ReadBytes(gbk / "gbk.rte"));
  for (const char* route : {"$PZTJRTE,2,1,c,1,\xBA\xD3\xB5\xCC\xC2\xB7,WPT001_1,a,WPT002_1,a*", "$PZTJRTE,1,1,c,1,TWO,WPT001_2,a,WPT002_2,a*",
                            "$PZTJRTE,1,1,c,1,TWO,WPT001_3,a,WPT002_3,a*"})
    EXPECT_NE(routes.find(route), std::string::npos) << route;
}

}  // namespace
}  // namespace carteloom::testing
