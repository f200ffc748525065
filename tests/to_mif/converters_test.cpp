// Receiver files to MIF/MID pairs, through the batch: the exact lines of
// each kind of file, as GDAL reads them.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/test_support.h"
#include "to_mif/to_mif_batch.h"

namespace carteloom::testing {
namespace {

using Strings = std::vector<std::string>;

struct Converted {
  Strings data;  // the MIF lines after the fixed header
  std::string mid;
};

Converted Convert(const std::string& name, const Strings& source) {
  ScratchFolder folder;
  WriteBytes(folder / name, CrLf(source));
  ScriptedUi ui({folder / name});
  EXPECT_EQ(RunToMifBatch(ui, folder.Path().string()).converted, 1u) << name;
  const std::string base = folder / name.substr(0, name.size() - 4), mif = ReadBytes(base + ".mif");
  Converted out{{}, ReadBytes(base + ".mid")};
  // GDAL, the referee, reads every object, also those it would refuse if written plainly: a route of one
  // waypoint or of none, a one-point log.
  std::string errors;
  if (HaveGdal()) {
    EXPECT_EQ(OgrFeatureCount(base + ".mif", errors), Lines(out.mid).size()) << name;
  }
  EXPECT_EQ(errors, "") << name;
  const std::string header = CrLf({"Version 300", "Charset \"Neutral\"", "Delimiter \",\"",
                                   "CoordSys Earth Projection 1, 104 Bounds (76.74848, 18.23792) (131.1559, 50.24493)",
                                   "Columns 1", "Comment Char(20)", "Data"});
  EXPECT_EQ(mif.substr(0, header.size()), header);
  out.data = Lines(mif.substr(std::min(header.size(), mif.size())));
  return out;
}

std::string Wpl(const std::string& position, const std::string& name) {
  return "$PZTJWPL," + position + ",0000000,M," + name + ",,a*00";
}
std::string Trk(const std::string& position) { return "$PZTJTRK," + position + ",0000050,M,080000,0,1,0*12"; }
std::string Rte(int record, const std::string& route, const std::string& first, const std::string& second) {
  return "$PZTJRTE,2," + std::to_string(record) + ",c,1," + route + "," + first + ",a," + second + ",a*00";
}

TEST(ToMifConverters, WaypointFiles) {
  // Leading zeros count, south and west are negative, a name with a comma is
  // quoted, a record cut short after its longitude keeps the rows in step, a
  // record that lost its tag is still one.
  Converted out = Convert("wells.upt", {"$PZTJFMT,WGS84,DDMM.MMM*67", Wpl("3959.1234,N,11630.5000,E", "WELL01"),
                                        Wpl("0530.0000,S,00830.0000,W", "\"Main St, north\""),
                                        "$PZTJWPL,3954.450,N,11623.483", Wpl("530.0000,N,0.5,E", "007"),
                                        "LOST,0100.000,N,00200.000,E,0000000,M,TAGLESS,,a*00", "$PZTJCMD,END*3D"});
  EXPECT_EQ(out.data, (Strings{"Point  116.508333333333  39.98539", "Symbol (32,0,9)", "Point -8.5 -5.5",
                             "Symbol (32,0,9)", "Point  116.391383333333  39.9075", "Symbol (32,0,9)",
                             "Point  .00833333333333333  5.5", "Symbol (32,0,9)", "Point  2  1", "Symbol (32,0,9)"}));
  EXPECT_EQ(out.mid, CrLf({"WELL01", "\"Main St, north\"", "", "007", "TAGLESS"}));
  EXPECT_EQ(Convert("empty.upt", {}).data, Strings{});
}

TEST(ToMifConverters, TrackLogs) {
  const std::string a = "3954.1230,N,11623.5000,E", b = "3955.0000,S,11624.0000,W";
  EXPECT_EQ(Convert("day1.log", {Trk(a), Trk(b), "$PZTJFMT,x,y,z", Trk(b), Trk(a), "$PZTJCMD,END*3D"}).data,
            (Strings{"Pline 2", " 116.391666666667  39.90205", "-116.4 -39.9166666666667", "Pen (2,2,0)"}));
  // One point is drawn to itself (GDAL reads no line of one vertex); none is no object.
  Converted one = Convert("north, day 2.log", {Trk(a), "$PZTJCMD,END*3D"});
  EXPECT_EQ(one.data, (Strings{"Pline 2", " 116.391666666667  39.90205", " 116.391666666667  39.90205", "Pen (2,2,0)"}));
  EXPECT_EQ(one.mid, CrLf({"\"north, day 2\""}));
  EXPECT_EQ(Convert("none.log", {"$PZTJFMT,x", Trk(a), "$PZTJCMD,END*3D"}).data, Strings{});
  // Records tagged as waypoints, or cut after the longitude, still give their vertex.
  EXPECT_EQ(Convert("cut.log", {Trk(a) + ",extra", "$PZTJWPL," + b, "$PZTJWPL,3954.1230,N,11623.5000"}).data.front(),
            "Pline 3");
}

TEST(ToMifConverters, RouteFiles) {
  // Each route runs through the next waypoint records; a route ends where
  // the name changes or the record numbers start again at 1. A record with a
  // tag of no meaning follows the one before it; one cut short after its
  // longitude still counts.
  Strings source;
  for (int i = 1; i <= 7; ++i) source.push_back(Wpl("390" + std::to_string(i) + ".000,N,1160" + std::to_string(i) + ".000,E", "x"));
  source.insert(source.end(), {"$PZTJWPL,3908.000,N,11608.000", Wpl("3909.000,N,11609.000,E", "x"),
                               "$PZTJXXX,3910.000,N,11610.000,E,-000005,M,y,,a*00", Rte(1, "R1", "a", "b"), Rte(2, "R1", "c", ""), Rte(1, "007", "d", "e"), Rte(1, "007", "f", ""),
                               Rte(1, "EMPTY", "", ""), Rte(1, "LONG", "g", "h"), "$PZTJCMD,END*3D", Rte(1, "OPEN", "i", "j")});
  Converted out = Convert("roads.rte", source);
  EXPECT_EQ(out.data, (Strings{"Pline 3", "116.016666666667 39.0166666666667", "116.033333333333 39.0333333333333",
                               "116.05 39.05", "    Pen (2,2,0)", "Pline 2", "116.066666666667 39.0666666666667",
                               "116.083333333333 39.0833333333333", "    Pen (2,2,0)", "Pline 2", "116.1 39.1",
                               "116.1 39.1", "    Pen (2,2,0)", "None", "Pline 2", "116.116666666667 39.1166666666667",
                               "116.133333333333 39.1333333333333", "    Pen (2,2,0)", "Pline 2", "116.15 39.15",
                               "116.166666666667 39.1666666666667", "    Pen (2,2,0)"}));
  EXPECT_EQ(out.mid, CrLf({"R1", "007", "007", "EMPTY", "LONG", "OPEN"}));
}

}  // namespace
}  // namespace carteloom::testing
