// GDAL reads every kind of MIF/MID pair this system writes, whole: the
// object count, the geometry of each object and its name.
#include <gtest/gtest.h>

#include "support/test_support.h"
#include "to_mif/to_mif_batch.h"

namespace carteloom::testing {
namespace {

using Features = std::vector<OgrFeature>;

TEST(ToMifWithGdal, EveryKindOfPairIsReadWhole) {
  if (!HaveGdal()) GTEST_SKIP() << "ogrinfo is not installed";
  const std::string data = std::string(CARTELOOM_TEST_DATA) + "/to_mif/";
  ScratchFolder in, out;
  // A route of one waypoint, one of none and two of one name; a log of one
  // point: objects that GDAL would refuse, and every later one with them.
  WriteBytes(in / "odd.rte", CrLf({"$PZTJWPL,3900.000,N,11600.000,E,-000005,M,A,,a*00",
                                   "$PZTJWPL,3930.000,N,11630.000,E,-000005,M,B,,a*00",
                                   "$PZTJWPL,4000.000,N,11700.000,E,-000005,M,C,,a*00",
                                   "$PZTJWPL,4030.000,N,11730.000,E,-000005,M,D,,a*00",
                                   "$PZTJRTE,1,1,c,1,ONE,A,a,,a*00", "$PZTJRTE,1,1,c,1,EMPTY,,a,,a*00",
                                   "$PZTJRTE,1,1,c,1,R,B,a,,a*00", "$PZTJRTE,1,1,c,1,R,C,a,D,a*00", "$PZTJCMD,END*3D"}));
  WriteBytes(in / "one.log", CrLf({"$PZTJTRK,3954.1230,N,11623.5000,E,0000050,M,080000,0,1,0*12", "$PZTJCMD,END*3D"}));
  WriteBytes(in / "empty.upt", "");
  for (const char* charset : {"Neutral", "WindowsSimpChinese"}) {
    ScriptedUi ui({data + "wells.upt", data + "day1.log", data + "roads.rte", in / "odd.rte", in / "one.log",
                   in / "empty.upt"});
    ui.overwriteAnswers.assign(6, OverwriteAnswer::Overwrite);
    ASSERT_EQ(RunToMifBatch(ui, out.Path().string(), {charset}).converted, 6u);
    // Under Neutral the GBK names reach GDAL as bytes; a GBK charset lets it decode them.
    const bool gbk = std::string(charset) == "Neutral";
    const std::vector<std::pair<std::string, Features>> expected{
        {"wells", {{"POINT", 1, "WELL01"}, {"POINT", 1, "Main St, north"}, {"POINT", 1, gbk ? "\xC8\xAA\xD1\xDB" : "泉眼"}}},
        {"day1", {{"LINESTRING", 5, "day1"}}},
        {"roads", {{"LINESTRING", 3, "ROAD1"}, {"LINESTRING", 2, gbk ? "\xBA\xD3\xB5\xCC\xC2\xB7" : "河堤路"}}},
        {"odd", {{"LINESTRING", 2, "ONE"}, {"", 0, "EMPTY"}, {"LINESTRING", 2, "R"}, {"LINESTRING", 2, "R"}}},
        {"one", {{"LINESTRING", 2, "one"}}},
        {"empty", {}}};
    for (const auto& [base, features] : expected) {
      std::string errors;
      EXPECT_EQ(OgrFeatures(out / (base + ".mif"), errors), features) << base << " " << charset;
      EXPECT_EQ(errors, "") << base;
    }
  }
}

}  // namespace
}  // namespace carteloom::testing
