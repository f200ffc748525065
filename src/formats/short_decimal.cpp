#include "formats/short_decimal.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace carteloom {
namespace {

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool IsDigit(char c) { return static_cast<unsigned char>(c - '0') <= 9; }

constexpr std::uint64_t kPowersOfTenWhole[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

// The digits from p on, appended to whole: eight bytes at a time, each taken
// less '0', where the text has eight more (most coordinates' fractions do).
const char* AppendDigits(const char* p, const char* end, std::uint64_t& whole) {
  if constexpr (std::endian::native == std::endian::little) {
    while (end - p >= 8) {
      std::uint64_t chunk;
      std::memcpy(&chunk, p, 8);
      const std::uint64_t values = chunk - 0x3030303030303030;
      // A byte below '0' wraps to its top bit, one above '9' reaches it with 0x76 added; a borrow or carry
      // runs only into the bytes after the first such byte, which are not counted.
      const std::uint64_t notDigits = (values | (values + 0x7676767676767676)) & 0x8080808080808080;
      const int count = notDigits == 0 ? 8 : std::countr_zero(notDigits) / 8;
      if (count == 0) return p;
      // The digits in the high bytes, zeros (leading digits) below them, then combined pairwise.
      std::uint64_t v = values << (8 * (8 - count));
      v = (v * 10 + (v >> 8)) & 0x00FF00FF00FF00FF;
      v = (v * 100 + (v >> 16)) & 0x0000FFFF0000FFFF;
      v = (v * 10000 + (v >> 32)) & 0xFFFFFFFF;
      whole = whole * kPowersOfTenWhole[count] + v;
      p += count;
      if (count < 8) return p;
    }
  }
  while (p != end && IsDigit(*p)) whole = whole * 10 + static_cast<unsigned>(*p++ - '0');
  return p;
}

}  // namespace

// When the digits form a whole below 10^15 and at most 22 follow the point,
// both the whole and 10^decimals are exact doubles, so one division gives
// the correctly rounded value.
const char* ShortDecimalPrefix(const char* p, const char* end, double& value) {
  const char* const start = p;
  while (p != end && *p == '0') ++p;  // leading zeros carry nothing
  const char* const firstSignificant = p;
  std::uint64_t whole = 0;
  p = AppendDigits(p, end, whole);
  std::ptrdiff_t significant = p - firstSignificant;
  bool anyDigit = p != start;
  int decimals = 0;
  if (p != end && *p == '.') {
    const char* const fraction = ++p;
    if (whole == 0)
      while (p != end && *p == '0') ++p;  // zeros straight after the point add no digit either
    const char* const fractionDigits = p;
    p = AppendDigits(p, end, whole);
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
