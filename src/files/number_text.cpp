#include "files/number_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace carteloom {
namespace {

// The value rounded to 15 significant digits: d1.d2d3... x 10^exponent,
// with the trailing zeros of the digits removed.
struct SignificantDigits {
  char digits[16];
  int count = 0;
  int exponent = 0;
};

constexpr std::uint64_t kLow15 = 100'000'000'000'000;  // 10^14: the smallest 15-digit whole

// The general route: to_chars rounds the exact binary value, ties to even.
SignificantDigits RoundByCharconv(double magnitude) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14);
  std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
  std::size_t e = text.find('e');
  SignificantDigits out;
  out.digits[out.count++] = text[0];
  for (std::size_t i = 2; i < e; ++i) out.digits[out.count++] = text[i];
  const char* expBegin = text.data() + e + 1;
  if (*expBegin == '+') ++expBegin;
  std::from_chars(expBegin, text.data() + text.size(), out.exponent);
  return out;
}

// A 128-bit whole: high * 2^64 + low.
struct Wide {
  std::uint64_t high = 0;
  std::uint64_t low = 0;
};

Wide Multiply(std::uint64_t a, std::uint64_t b) {
  const std::uint64_t mask = 0xFFFFFFFF;
  const std::uint64_t ll = (a & mask) * (b & mask), lh = (a & mask) * (b >> 32);
  const std::uint64_t hl = (a >> 32) * (b & mask), hh = (a >> 32) * (b >> 32);
  const std::uint64_t mid = (ll >> 32) + (lh & mask) + (hl & mask);
  return {hh + (lh >> 32) + (hl >> 32) + (mid >> 32), (mid << 32) | (ll & mask)};
}

bool Bit(const Wide& w, int i) { return ((i < 64 ? w.low >> i : w.high >> (i - 64)) & 1) != 0; }

// True when any of the n lowest bits is set (0 < n < 128).
bool AnyLowBit(const Wide& w, int n) {
  if (n <= 64) return (n == 64 ? w.low : w.low & ((std::uint64_t{1} << n) - 1)) != 0;
  return w.low != 0 || (w.high & ((std::uint64_t{1} << (n - 64)) - 1)) != 0;
}

// w / 2^n rounded down; false when it does not fit in 64 bits (0 < n < 128).
bool ShiftDown(const Wide& w, int n, std::uint64_t& out) {
  if (n >= 64) {
    out = w.high >> (n - 64);
    return true;
  }
  if ((w.high >> n) != 0) return false;
  out = (w.high << (64 - n)) | (w.low >> n);
  return true;
}

constexpr auto kPowersOfFive = [] {
  std::array<std::uint64_t, 28> powers{};
  powers[0] = 1;
  for (std::size_t i = 1; i < powers.size(); ++i) powers[i] = powers[i - 1] * 5;
  return powers;
}();

// The same rounding done exactly in whole numbers, for the magnitudes that
// coordinates have. A double is m / 2^shift, so m * 5^k / 2^(shift - k) is
// the value times 10^k; k is chosen to leave 15 whole digits, and the bits
// shifted out decide the rounding (ties to even, as to_chars does).
bool RoundExactly(double magnitude, SignificantDigits& out) {
  if (!(magnitude >= 1e-5 && magnitude < 1e15)) return false;
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(magnitude);
  const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
  const int shift = 1075 - static_cast<int>(bits >> 52);
  // floor(log10) is floor(b * log10(2)) or one more; a comparison mostly
  // settles which, and the loop corrects the rare miss of an inexact power.
  static constexpr double kPowers[] = {1e-5, 1e-4, 1e-3, 1e-2, 1e-1, 1e0,  1e1,  1e2,  1e3,  1e4, 1e5,
                                       1e6,  1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  int decimalExponent = ((52 - shift) * 78913) >> 18;
  if (decimalExponent >= -6 && decimalExponent < 15 && magnitude >= kPowers[decimalExponent + 6]) ++decimalExponent;
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int k = 14 - decimalExponent;
    const int down = shift - k;
    if (k < 0 || k > 27 || down < 1 || down > 127) return false;
    const Wide scaled = Multiply(m, kPowersOfFive[static_cast<std::size_t>(k)]);
    std::uint64_t whole = 0;
    if (!ShiftDown(scaled, down, whole) || whole >= 10 * kLow15) {
      ++decimalExponent;
      continue;
    }
    if (whole < kLow15) {
      --decimalExponent;
      continue;
    }
    const bool roundBit = Bit(scaled, down - 1);
    const bool sticky = down > 1 && AnyLowBit(scaled, down - 1);
    if (roundBit && (sticky || (whole & 1) != 0)) ++whole;
    if (whole == 10 * kLow15) {
      whole = kLow15;
      ++decimalExponent;
    }
    // Two digits at a time, straight into place.
    char* d = out.digits + 15;
    for (int pair = 0; pair < 7; ++pair) {
      const std::uint64_t r = whole % 100;
      whole /= 100;
      *--d = static_cast<char>('0' + r % 10);
      *--d = static_cast<char>('0' + r / 10);
    }
    *--d = static_cast<char>('0' + whole);
    out.count = 15;
    out.exponent = decimalExponent;
    return true;
  }
  return false;
}

SignificantDigits RoundTo15Digits(double magnitude) {
  SignificantDigits d;
  if (!RoundExactly(magnitude, d)) d = RoundByCharconv(magnitude);
  while (d.count > 1 && d.digits[d.count - 1] == '0') --d.count;
  return d;
}

}  // namespace

char* PutNumberText(char* out, double value, bool padded) {
  auto put = [&out](std::string_view text) {
    std::memcpy(out, text.data(), text.size());
    out += text.size();
  };
  if (std::isnan(value)) {
    put(padded ? " NaN" : "NaN");
    return out;
  }
  if (std::signbit(value) && value != 0) {
    *out++ = '-';
  } else if (padded) {
    *out++ = ' ';
  }
  if (std::isinf(value)) {
    put("Inf");
    return out;
  }
  if (value == 0) {
    *out++ = '0';
    return out;
  }

  SignificantDigits d = RoundTo15Digits(std::fabs(value));
  const std::string_view digits(d.digits, static_cast<std::size_t>(d.count));
  if (d.exponent >= 15 || d.exponent < -5) {
    // Out of the fixed range: mantissa and a signed two-digit exponent ("1.5E-06").
    *out++ = digits[0];
    if (digits.size() > 1) {
      *out++ = '.';
      put(digits.substr(1));
    }
    put(d.exponent < 0 ? "E-" : "E+");
    int magnitude = std::abs(d.exponent);
    if (magnitude < 10) *out++ = '0';
    out = std::to_chars(out, out + 8, magnitude).ptr;
  } else if (d.exponent >= 0) {
    std::size_t whole = static_cast<std::size_t>(d.exponent) + 1;
    if (digits.size() <= whole) {
      put(digits);
      std::memset(out, '0', whole - digits.size());
      out += whole - digits.size();
    } else {
      put(digits.substr(0, whole));
      *out++ = '.';
      put(digits.substr(whole));
    }
  } else {
    put(padded ? "." : "0.");
    std::size_t zeros = static_cast<std::size_t>(-d.exponent - 1);
    std::memset(out, '0', zeros);
    out += zeros;
    put(digits);
  }
  return out;
}

std::string PlainNumberText(double value) {
  char buf[kMaxNumberText];
  return std::string(buf, PutNumberText(buf, value, false));
}

char* PutIntegerText(char* out, std::uint64_t value, int minDigits) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  int digits = 1;
  for (std::uint64_t bound = 10; digits < 20 && value >= bound; bound *= 10) ++digits;
  for (int i = digits; i < minDigits; ++i) *out++ = '0';
  char* const end = out + digits;
  char* p = end;
  for (; value >= 100; value /= 100) {
    p -= 2;
    std::memcpy(p, kPairs + 2 * (value % 100), 2);
  }
  if (value >= 10) {
    p -= 2;
    std::memcpy(p, kPairs + 2 * value, 2);
  } else {
    *--p = static_cast<char>('0' + value);
  }
  return end;
}

std::string IntegerText(std::int64_t value) {
  const std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  char buf[21] = {'-'};
  char* const digits = buf + (value < 0 ? 1 : 0);
  return std::string(buf, PutIntegerText(digits, magnitude));
}

}  // namespace carteloom
