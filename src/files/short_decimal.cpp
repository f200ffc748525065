#include "files/short_decimal.h"

#include <cstdint>

namespace carteloom {
namespace {

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool IsDigit(char c) { return static_cast<unsigned char>(c - '0') <= 9; }

}  // namespace

// When the digits form a whole below 10^15 and at most 22 follow the point,
// both the whole and 10^decimals are exact doubles, so one division gives
// the correctly rounded value.
const char* ShortDecimalPrefix(const char* p, const char* end, double& value) {
  const char* const start = p;
  while (p != end && *p == '0') ++p;  // leading zeros carry nothing
  const char* const firstSignificant = p;
  std::uint64_t whole = 0;
  while (p != end && IsDigit(*p)) whole = whole * 10 + static_cast<unsigned>(*p++ - '0');
  std::ptrdiff_t significant = p - firstSignificant;
  bool anyDigit = p != start;
  int decimals = 0;
  if (p != end && *p == '.') {
    const char* const fraction = ++p;
    if (whole == 0)
      while (p != end && *p == '0') ++p;  // zeros straight after the point add no digit either
    const char* const fractionDigits = p;
    while (p != end && IsDigit(*p)) whole = whole * 10 + static_cast<unsigned>(*p++ - '0');
    significant += p - fractionDigits;
    decimals = static_cast<int>(p - fraction);
    anyDigit |= p != fraction;
  }
  if (!anyDigit || significant > 15 || decimals > 22) return nullptr;
  value = decimals > 0 ? static_cast<double>(whole) / kPowersOfTen[decimals] : static_cast<double>(whole);
  return p;
}

bool ShortDecimal(std::string_view digits, double& value) {
  const char* const end = digits.data() + digits.size();
  double parsed;
  if (ShortDecimalPrefix(digits.data(), end, parsed) != end) return false;
  value = parsed;
  return true;
}

}  // namespace carteloom
