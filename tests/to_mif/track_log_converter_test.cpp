#include <gtest/gtest.h>

#include "support/test_support.h"
#include "to_mif/converters.h"
#include "to_mif/run_converter.h"

namespace carteloom::testing {
namespace {

using Strings = std::vector<std::string>;

std::string Trk(const std::string& lat, const std::string& lon, const std::string& tag = "$PZTJTRK") {
  return tag + "," + lat + ",N," + lon + ",E,0000050,M,080000,0,1,0*12";  // 11 fields
}

TEST(TrackLogConverter, WritesOnePlineNamedAfterTheLog) {
  Converted out = RunConverter(Kind::TrackLog,
                               CrLf({Trk("3954.1230", "11623.5000"), Trk("3955.0000", "11624.0000"),
                                     Trk("3956.5000", "11625.2500"), "$PZTJCMD,END*3D"}),
                               "day1.log");
  EXPECT_EQ(DataLines(out.mif), (Strings{"Pline 3", " 116.391666666667  39.90205", " 116.4  39.9166666666667",
                                         " 116.420833333333  39.9416666666667", "Pen (2,2,0)"}));
  EXPECT_EQ(out.mid, CrLf({"day1"}));
  EXPECT_EQ(RunConverter(Kind::TrackLog, CrLf({Trk("3954.1230", "11623.5000")}), "north, day 2.log").mid,
            CrLf({"\"north, day 2\""}));
}

TEST(TrackLogConverter, TheCountIsTheNumberOfVerticesWritten) {
  const std::string a = Trk("3954.1230", "11623.5000"), b = Trk("3955.0000", "11624.0000");
  // One point is drawn to itself, as GDAL reads no Pline of one vertex.
  const std::vector<std::pair<std::string, std::size_t>> cases{
      {CrLf({a, "$PZTJCMD,END*3D"}), 2},                              // one point
      {CrLf({a, b}), 2},                                              // no end record
      {CrLf({a, b, "$PZTJCMD,END*3D", ""}), 2},                       // an empty line after the end
      {CrLf({"$PZTJFMT,x,y", a, Trk("3955.0000", "11624.0000", "$PZTJWPL")}), 2},  // format record first
      {CrLf({a + ",extra", a, b, "$PZTJCMD,END*3D"}), 3},             // a 12-field record puts the rest out of step
      {CrLf({a, "$PZTJWPL,3954.1230,N,11623.5000"}), 2},             // cut after the longitude
  };
  for (const auto& [source, vertices] : cases) {
    Converted out = RunConverter(Kind::TrackLog, source);
    ExpectConsistentPair(out);
    std::vector<std::string> lines = DataLines(out.mif);
    ASSERT_FALSE(lines.empty()) << source;
    EXPECT_EQ(lines.front(), "Pline " + std::to_string(vertices)) << source;
  }
}

TEST(TrackLogConverter, SouthAndWestAreNegative) {
  Converted out = RunConverter(Kind::TrackLog, CrLf({"$PZTJTRK,3954.1230,S,11623.5000,W,0,M,0,0,1,0*00",
                                                     "$PZTJWPL,3954.1230,S,11623.5000"}));
  EXPECT_EQ(DataLines(out.mif), (Strings{"Pline 2", "-116.391666666667 -39.90205", " 116.391666666667 -39.90205",
                                         "Pen (2,2,0)"}));
}

TEST(CountRecordsBeforeRoute, CountsEveryFieldBeforeTheRouteTag) {
  ScratchFolder folder;
  const std::vector<std::pair<std::string, std::int64_t>> cases{
      {"", 0},
      {CrLf({"$PZTJRTE,1,1,c"}), 0},
      {CrLf({Trk("3954.1230", "11623.5000"), ""}), 12},
      {CrLf({"$pztjrte,$PZTJRTE*00,a", "$PZTJRTE,x", "b"}), 3},
  };
  for (const auto& [text, count] : cases) {
    WriteBytes(folder / "f.log", text);
    EXPECT_EQ(CountRecordsBeforeRoute(folder / "f.log"), count) << text;
  }
}

}  // namespace
}  // namespace carteloom::testing
