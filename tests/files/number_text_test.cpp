// Numbers as this system writes and reads them, checked against references
// built on to_chars and from_chars alone.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <random>

#include "files/number_text.h"
#include "files/short_decimal.h"

namespace carteloom::testing {

static std::string ReferenceText(double value, bool padded) {
  std::string text = std::signbit(value) && value != 0 && !std::isnan(value) ? "-" : padded ? " " : "";
  if (value == 0 || !std::isfinite(value)) return text + (value == 0 ? "0" : std::isnan(value) ? "NaN" : "Inf");
  char b[64];  // d.dddddddddddddde+XX: 15 significant digits and the exponent
  const std::string_view s(b, std::to_chars(b, b + 64, std::fabs(value), std::chars_format::scientific, 14).ptr);
  std::string digits = std::string(1, b[0]).append(s.substr(2, 14));
  digits.erase(digits.find_last_not_of('0') + 1);
  const int e = std::stoi(std::string(s.substr(17)));
  if (e >= 15 || e < -5) {
    if (digits.size() > 1) digits.insert(digits.begin() + 1, '.');
    return text + digits + (e < 0 ? "E-" : "E+") + (std::abs(e) < 10 ? "0" : "") + std::to_string(std::abs(e));
  }
  if (e < 0) return text + (padded ? "." : "0.") + std::string(static_cast<std::size_t>(-e - 1), '0') + digits;
  if (digits.size() > e + std::size_t{1}) digits.insert(digits.begin() + e + 1, '.');
  digits.resize(std::max(digits.size(), e + std::size_t{1}), '0');
  return text + digits;
}

TEST(NumberText, ExactForEveryKindOfValue) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 100000; ++i) {
    const double magnitude = std::pow(10.0, random() % 25000 / 1000.0 - 8), power = std::pow(10.0, i % 24 - 7);
    const double whole = static_cast<double>(100'000'000'000'000 + random() % 900'000'000'000'000);
    const double coordinate = static_cast<double>(random() % 181) + static_cast<double>(random() % 60000) / 60000;
    // Any bit pattern (NaN, Inf, subnormals); coordinates as computed and as layers hold them; 15 digits and
    // a binary fraction (ties of the 15th digit and near misses); powers of ten and what lies just below them.
    for (double v : {i % 2 ? magnitude : -magnitude, std::bit_cast<double>(random()), coordinate,
                     std::round(coordinate * 1e6) / 1e6, (whole + 0.5) / 8, (whole + 0.5) * 1024,
                     std::nextafter(whole + 0.5, 0.0), power, std::nextafter(power, 0.0)}) {
      char b[2 * kMaxNumberText + 1];
      char* p = PutNumberText(b, v, true);
      *p = '|';
      ASSERT_EQ(std::string(b, PutNumberText(p + 1, v, false)), ReferenceText(v, true) + "|" + ReferenceText(v, false))
          << std::bit_cast<std::uint64_t>(v);
    }
  }
}

TEST(ShortDecimal, ReadsAsFromCharsWhereverTheDigitsStop) {
  // Runs of digits, points and other bytes of every length: the fast path reads as the general one.
  std::mt19937_64 random(7);
  for (int i = 0; i < 200000; ++i) {
    std::string text;
    for (std::size_t n = random() % 28; n > 0; --n) text += random() % 5 == 0 ? ".0 9x-"[random() % 6] : char('0' + random() % 10);
    double value = 0, expected = 0;
    const char* stop = ShortDecimalPrefix(text.data(), text.data() + text.size(), value);
    if (stop == nullptr) continue;
    const auto read = std::from_chars(text.data(), stop, expected, std::chars_format::fixed);
    ASSERT_TRUE(read.ptr == stop && value == expected) << text;
  }
}

}  // namespace carteloom::testing
