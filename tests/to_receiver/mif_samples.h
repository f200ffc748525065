#pragma once
// MIF/MID pairs for the tests, in WGS84 longitude/latitude with one name column.
#include <algorithm>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace carteloom::testing {

inline std::string MifText(const std::vector<std::string>& data,
                           const std::string& coordSys = "CoordSys Earth Projection 1, 104") {
  std::vector<std::string> lines{"Version 300", "Delimiter \",\"", coordSys, "Columns 1", "  Name Char(20)", "Data"};
  lines.insert(lines.end(), data.begin(), data.end());
  return CrLf(lines);
}

// count points at 116.5 E 39.5 N.
inline std::string PointLayer(int count) {
  std::string mif = MifText({});
  for (int i = 1; i <= count; ++i) mif += "Point 116.5 39.5\r\n    Symbol (35,0,12)\r\n";
  return mif;
}

inline long LineCount(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

}  // namespace carteloom::testing
