// No capacity limits: a million-point track log and a route file of
// thousands of routes convert whole.
#include <gtest/gtest.h>

#include "support/test_support.h"
#include "to_mif/run_converter.h"

namespace carteloom::testing {
namespace {

std::string Digits(long long value, std::size_t width) {
  std::string text = std::to_string(value);
  return std::string(width > text.size() ? width - text.size() : 0, '0') + text;
}

// ddmm.mmm text whose minutes step with i, so that every position differs.
std::string Coordinate(int degrees, std::size_t degreeWidth, long long i) {
  return Digits(degrees, degreeWidth) + Digits(i / 1000 % 60, 2) + "." + Digits(i % 1000, 3);
}

TEST(ToMifLargeInput, AMillionPointTrackLog) {
  constexpr long long kPoints = 1'000'000;
  std::string log;
  log.reserve(kPoints * 64);
  for (long long i = 0; i < kPoints; ++i)
    log += "$PZTJTRK," + Coordinate(39, 2, i) + ",N," + Coordinate(116, 3, i) + ",E,0000050,M,0,0,1,0*12\r\n";
  log += "$PZTJCMD,END*3D\r\n";

  Converted out = RunConverter(Kind::TrackLog, log, "long.log");
  std::vector<std::string> lines = DataLines(out.mif);
  ASSERT_EQ(lines.size(), kPoints + 2);
  EXPECT_EQ(lines.front(), "Pline 1000000");
  EXPECT_EQ(lines[1], " 116  39");
  EXPECT_EQ(lines[kPoints], " 116.66665  39.66665");  // 39.999 minutes
  EXPECT_EQ(lines.back(), "Pen (2,2,0)");
  EXPECT_EQ(out.mid, CrLf({"long"}));
}

TEST(ToMifLargeInput, ThousandsOfRoutes) {
  constexpr int kRoutes = 3000;  // three waypoints each
  std::string file;
  for (int i = 0; i < 3 * kRoutes; ++i)
    file += "$PZTJWPL," + Coordinate(39, 2, i) + ",N," + Coordinate(116, 3, i) + ",E,-000005,M,W,,a*42\r\n";
  for (int r = 0; r < kRoutes; ++r) {
    std::string name = std::to_string(r);
    name.insert(name.begin(), 'R');
    file += "$PZTJRTE,2,1,c,1," + name + ",W,a,W,a*00\r\n$PZTJRTE,2,2,c,1," + name + ",W,a,,a*00\r\n";
  }
  file += "$PZTJCMD,END*3D\r\n";

  Converted out = RunConverter(Kind::Routes, file);
  ExpectConsistentPair(out);
  std::vector<std::string> lines = DataLines(out.mif);
  ASSERT_EQ(lines.size(), kRoutes * 5u);
  EXPECT_EQ(lines[lines.size() - 2], "116.149983333333 39.1499833333333");  // 8.999 minutes
  std::vector<std::string> rows = Lines(out.mid);
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(kRoutes));
  EXPECT_EQ(rows.back(), "R2999");
}

}  // namespace
}  // namespace carteloom::testing
