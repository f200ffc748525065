#include <gtest/gtest.h>

#include "support/test_support.h"
#include "to_mif/run_converter.h"

namespace carteloom::testing {
namespace {

using Strings = std::vector<std::string>;

// Waypoint records at 39 + i minutes north, 116 + i minutes east, for i = 1..n.
Strings Waypoints(int n, const std::string& ns = "N", const std::string& ew = "E") {
  Strings lines;
  for (int i = 1; i <= n; ++i) {
    std::string m(i < 10 ? 1 : 0, '0');
    m += std::to_string(i);
    lines.push_back("$PZTJWPL,39" + m + ".000," + ns + ",116" + m + ".000," + ew + ",-000005,M,P" + m + ",,a*42");
  }
  return lines;
}

// Route record `number` of a route named name.
std::string Rte(int number, const std::string& name, const std::string& first, const std::string& second) {
  return "$PZTJRTE,2," + std::to_string(number) + ",c,1," + name + "," + first + ",a," + second + ",a*00";
}

std::string RouteFile(Strings lines, const Strings& routes, bool endRecord = true) {
  lines.insert(lines.end(), routes.begin(), routes.end());
  if (endRecord) lines.push_back("$PZTJCMD,END*3D");
  return CrLf(lines);
}

TEST(RouteConverter, DrawsEachRouteThroughTheNextWaypointRecords) {
  // Routes of 3, 4, 2 and 2 waypoint names; the waypoint names in them do not
  // matter. The last two share a name (sections of one polyline): each route
  // numbers its records from 1, and so they stay apart.
  Converted out = RunConverter(Kind::Routes, RouteFile(Waypoints(11), {Rte(1, "R1", "x", "y"), Rte(2, "R1", "z", ""),
                                                                       Rte(1, "007", "a", "b"), Rte(2, "007", "c", "d"),
                                                                       Rte(1, "R3", "e", "f"), Rte(1, "R3", "g", "h")}));
  EXPECT_EQ(DataLines(out.mif),
            (Strings{"Pline 3", "116.016666666667 39.0166666666667", "116.033333333333 39.0333333333333",
                     "116.05 39.05", "    Pen (2,2,0)",
                     "Pline 4", "116.066666666667 39.0666666666667", "116.083333333333 39.0833333333333",
                     "116.1 39.1", "116.116666666667 39.1166666666667", "    Pen (2,2,0)",
                     "Pline 2", "116.133333333333 39.1333333333333", "116.15 39.15", "    Pen (2,2,0)",
                     "Pline 2", "116.166666666667 39.1666666666667", "116.183333333333 39.1833333333333",
                     "    Pen (2,2,0)"}));
  EXPECT_EQ(out.mid, CrLf({"R1", "007", "R3", "R3"}));
}

TEST(RouteConverter, EveryRouteIsWrittenWithAsManyVerticesAsItHas) {
  // An empty name, a route without waypoint names, one naming more waypoints
  // than are left, and the last one without its end record. GDAL reads no
  // Pline of fewer than two vertices: one vertex is drawn to itself, none is no object.
  Converted out = RunConverter(Kind::Routes, RouteFile(Waypoints(3), {Rte(1, "", "a", "b"), Rte(1, "NONE", "", ""),
                                                                      Rte(1, "LONG", "c", "d"), Rte(1, "OPEN", "e", "")},
                                                       false));
  ExpectConsistentPair(out);
  EXPECT_EQ(DataLines(out.mif),
            (Strings{"Pline 2", "116.016666666667 39.0166666666667", "116.033333333333 39.0333333333333",
                     "    Pen (2,2,0)", "None", "Pline 2", "116.05 39.05", "116.05 39.05", "    Pen (2,2,0)",
                     "None"}));
  EXPECT_EQ(out.mid, CrLf({"", "NONE", "LONG", "OPEN"}));
}

TEST(RouteConverter, WesternAndSouthernWaypointsAreUsed) {
  Converted out = RunConverter(Kind::Routes, RouteFile(Waypoints(2, "S", "W"), {Rte(1, "R", "a", "b")}));
  EXPECT_EQ(DataLines(out.mif), (Strings{"Pline 2", "-116.016666666667 -39.0166666666667",
                                         "-116.033333333333 -39.0333333333333", "    Pen (2,2,0)"}));
}

}  // namespace
}  // namespace carteloom::testing
