#include "formats/short_decimal.h"

#include <cstdint>

namespace carteloom {

// When the digits form a whole below 10^15 and at most 22 follow the point,
// both the whole and 10^decimals are exact doubles, so one division gives
// the correctly rounded value.
bool ShortDecimal(std::string_view digits, double& value) {
  static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  std::uint64_t whole = 0;
  int decimals = -1;  // -1: no point seen yet
  int significant = 0;
  bool anyDigit = false;
  for (char c : digits) {
    if (c == '.' && decimals < 0) {
      decimals = 0;
      continue;
    }
    if (c < '0' || c > '9') return false;
    anyDigit = true;
    if (decimals >= 0) ++decimals;
    if (whole == 0 && c == '0') continue;  // leading zeros carry nothing
    if (++significant > 15) return false;
    whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (!anyDigit || decimals > 22) return false;
  value = decimals > 0 ? static_cast<double>(whole) / kPowersOfTen[decimals] : static_cast<double>(whole);
  return true;
}

}  // namespace carteloom
