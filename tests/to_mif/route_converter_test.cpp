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

std::string Rte(const std::string& name, const std::string& first, const std::string& second) {
  return "$PZTJRTE,2,1,c,1," + name + "," + first + ",a," + second + ",a*00";
}

std::string RouteFile(Strings lines, const Strings& routes, bool endRecord = true) {
  lines.insert(lines.end(), routes.begin(), routes.end());
  if (endRecord) lines.push_back("$PZTJCMD,END*3D");
  return CrLf(lines);
}

TEST(RouteConverter, DrawsEachRouteThroughTheNextWaypointRecords) {
  // Routes of 3, 4 and 2 waypoint names; the waypoint names in them do not matter.
  Converted out = RunConverter(Kind::Routes, RouteFile(Waypoints(9), {Rte("R1", "x", "y"), Rte("R1", "z", ""),
                                                                      Rte("007", "a", "b"), Rte("007", "c", "d"),
                                                                      Rte("R3", "e", "f")}));
  EXPECT_EQ(DataLines(out.mif),
            (Strings{"Pline 3", "116.016666666667 39.0166666666667", "116.033333333333 39.0333333333333",
                     "116.05 39.05", "    Pen (2,2,0)",
                     "Pline 4", "116.066666666667 39.0666666666667", "116.083333333333 39.0833333333333",
                     "116.1 39.1", "116.116666666667 39.1166666666667", "    Pen (2,2,0)",
                     "Pline 2", "116.133333333333 39.1333333333333", "116.15 39.15", "    Pen (2,2,0)"}));
  EXPECT_EQ(out.mid, CrLf({"R1", "007", "R3"}));
}

TEST(RouteConverter, EveryRouteIsWrittenWithAsManyVerticesAsItHas) {
  // An empty name, a route without waypoint names, one naming more waypoints
  // than are left, and the last one without its end record.
  Converted out = RunConverter(Kind::Routes, RouteFile(Waypoints(3), {Rte("", "a", "b"), Rte("NONE", "", ""),
                                                                      Rte("LONG", "c", "d"), Rte("OPEN", "e", "")},
                                                       false));
  ExpectConsistentPair(out);
  EXPECT_EQ(DataLines(out.mif),
            (Strings{"Pline 2", "116.016666666667 39.0166666666667", "116.033333333333 39.0333333333333",
                     "    Pen (2,2,0)", "Pline 0", "    Pen (2,2,0)", "Pline 1", "116.05 39.05", "    Pen (2,2,0)",
                     "Pline 0", "    Pen (2,2,0)"}));
  EXPECT_EQ(out.mid, CrLf({"", "NONE", "LONG", "OPEN"}));
}

TEST(RouteConverter, WesternAndSouthernWaypointsAreUsed) {
  Converted out = RunConverter(Kind::Routes, RouteFile(Waypoints(2, "S", "W"), {Rte("R", "a", "b")}));
  EXPECT_EQ(DataLines(out.mif), (Strings{"Pline 2", "-116.016666666667 -39.0166666666667",
                                         "-116.033333333333 -39.0333333333333", "    Pen (2,2,0)"}));
}

}  // namespace
}  // namespace carteloom::testing
