#pragma once
// MIF texts for the tests: a header in WGS84 longitude/latitude with one
// name column, then the given data lines.
#include <string>
#include <vector>

#include "support/test_support.h"

namespace carteloom::testing {

inline std::string MifText(const std::vector<std::string>& dataLines,
                           const std::string& coordSys = "CoordSys Earth Projection 1, 104") {
  std::vector<std::string> lines{"Version 300", "Charset \"Neutral\"", "Delimiter \",\"", coordSys,
                                 "Columns 1", "  Name Char(20)", "Data"};
  lines.insert(lines.end(), dataLines.begin(), dataLines.end());
  return CrLf(lines);
}

// A layer of count points and a MID naming each one P<n>.
inline std::string PointLayer(int count) {
  std::string mif = MifText({});
  for (int i = 1; i <= count; ++i) mif += "Point 116." + std::to_string(i % 1000) + " 39.5\r\n    Symbol (35,0,12)\r\n";
  return mif;
}

inline std::string NumberedNames(int count) {
  std::string mid;
  for (int i = 1; i <= count; ++i) mid += "\"P" + std::to_string(i) + "\"\r\n";
  return mid;
}

}  // namespace carteloom::testing
