// The integer fast paths of the number texts against the plain to_chars
// routes they replace: the same bytes for every value, ties included.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

#include "formats/number_text.h"
#include "formats/sentence.h"
#include "formats/short_decimal.h"

namespace carteloom {
namespace {

// The reference texts, built on to_chars alone.
std::string ReferenceNumberText(double value, bool padded) {
  std::string sign = std::signbit(value) && value != 0 ? "-" : (padded ? " " : "");
  if (std::isnan(value)) return std::string(padded ? " " : "") + "NaN";
  if (std::isinf(value)) return sign + "Inf";
  if (value == 0) return padded ? " 0" : "0";
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
  std::string text(buf, res.ptr);
  std::size_t e = text.find('e');
  std::string digits = text.substr(0, 1) + (e > 2 ? text.substr(2, e - 2) : "");
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  int exponent = std::stoi(text.substr(e + 1));
  std::string body;
  if (exponent >= 15 || exponent < -5) {
    body = digits.substr(0, 1);
    if (digits.size() > 1) body.append(".").append(digits, 1);
    body += exponent < 0 ? "E-" : "E+";
    std::string exponentDigits = std::to_string(std::abs(exponent));
    if (exponentDigits.size() < 2) body += '0';
    body += exponentDigits;
  } else if (exponent >= 0) {
    std::size_t whole = static_cast<std::size_t>(exponent) + 1;
    body = digits.size() <= whole ? digits + std::string(whole - digits.size(), '0')
                                  : digits.substr(0, whole) + "." + digits.substr(whole);
  } else {
    body = (padded ? "." : "0.") + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  }
  return sign + body;
}

std::string ReferenceDegreesMinutes(double degrees, int width) {
  if (!std::isfinite(degrees) || degrees <= 0) degrees = 0;  // -0 too: no "-000.000"
  double whole = std::floor(degrees);
  double minutes = (degrees - whole) * 60;
  char buf[400];
  std::string text(buf, std::to_chars(buf, buf + sizeof buf, whole, std::chars_format::fixed, 0).ptr);
  if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
  double scaled = minutes * 2000;
  double rounded = minutes;
  if (std::fma(minutes, 2000.0, -scaled) == 0 && std::fmod(scaled, 2.0) == 1.0) rounded = (scaled + 1) / 2000;
  std::string m(buf, std::to_chars(buf, buf + sizeof buf, rounded, std::chars_format::fixed, 3).ptr);
  if (m.size() < 6) m.insert(0, 6 - m.size(), '0');
  return text + m;
}

void ExpectSameNumberTexts(double value) {
  ASSERT_EQ(PaddedNumberText(value), ReferenceNumberText(value, true)) << std::bit_cast<std::uint64_t>(value);
  ASSERT_EQ(PlainNumberText(value), ReferenceNumberText(value, false)) << std::bit_cast<std::uint64_t>(value);
}

void ExpectSameDegreesMinutes(double degrees) {
  for (int width : {2, 3})
    ASSERT_EQ(DegreesMinutesText(degrees, width), ReferenceDegreesMinutes(degrees, width))
        << std::bit_cast<std::uint64_t>(degrees);
}

TEST(NumberExactness, RandomValuesOfEveryMagnitude) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> logMagnitude(-8, 17);
  for (int i = 0; i < 400000; ++i) {
    double value = std::pow(10.0, logMagnitude(rng));
    ExpectSameNumberTexts(i % 2 ? value : -value);
    ExpectSameNumberTexts(std::bit_cast<double>(rng()));  // any bit pattern: NaN, Inf, subnormals
  }
}

TEST(NumberExactness, CoordinatesAsTheConvertersComputeThem) {
  std::mt19937_64 rng(11);
  std::uniform_int_distribution<int> degrees(0, 180), thousandths(0, 59999);
  for (int i = 0; i < 400000; ++i) {
    double value = degrees(rng) + thousandths(rng) / 1000.0 / 60;
    ExpectSameNumberTexts(value);
    ExpectSameNumberTexts(std::round(value * 1e6) / 1e6);  // six decimals, as MIF layers hold them
  }
}

TEST(NumberExactness, TiesAndPowersOfTen) {
  std::mt19937_64 rng(13);
  std::uniform_int_distribution<std::int64_t> fifteenDigits(100'000'000'000'000, 999'999'999'999'999);
  for (int i = 0; i < 100000; ++i) {
    // 15 digits and a binary fraction: exact ties of the 15th digit and near misses.
    double whole = static_cast<double>(fifteenDigits(rng));
    ExpectSameNumberTexts((whole + 0.5) / 8);
    ExpectSameNumberTexts((whole + 0.5) * 1024);
    ExpectSameNumberTexts(std::nextafter(whole + 0.5, 0.0));
  }
  for (int k = -7; k <= 16; ++k) {
    double power = std::pow(10.0, k);
    for (double v : {power, std::nextafter(power, 0.0), std::nextafter(power, 1e300), power * (1 - 1e-15),
                     power * (1 - 6e-16), power * (1 + 5e-15)})
      ExpectSameNumberTexts(v);
  }
}

TEST(NumberExactness, DegreesAndMinutes) {
  std::mt19937_64 rng(17);
  std::uniform_real_distribution<double> any(0, 180);
  std::uniform_int_distribution<int> whole(0, 180), sixteenths(0, 959), micro(0, 999999);
  for (int i = 0; i < 300000; ++i) {
    ExpectSameDegreesMinutes(any(rng));
    ExpectSameDegreesMinutes(whole(rng) + sixteenths(rng) / 960.0);  // minutes in sixteenths: exact ties
    ExpectSameDegreesMinutes(whole(rng) + micro(rng) / 1e6);
    ExpectSameDegreesMinutes(std::fabs(std::bit_cast<double>(rng())));
  }
  for (double v : {0.0, -0.0, 1e-300, 4.9e-324, 0.99999999999999989, 179.99999999999997, 999.99999999999989,
                   1000.0, 9e15, 1e300})
    ExpectSameDegreesMinutes(v);
}

TEST(NumberExactness, ShortDecimalsReadAsFromChars) {
  std::mt19937_64 rng(19);
  std::uniform_int_distribution<int> length(1, 24), digit(0, 9);
  for (int i = 0; i < 300000; ++i) {
    std::string text;
    int digits = length(rng);
    int point = std::uniform_int_distribution<int>(-1, digits)(rng);  // -1: no point
    for (int d = 0; d < digits; ++d) {
      if (d == point) text.push_back('.');
      text.push_back(static_cast<char>('0' + digit(rng)));
    }
    double expected = 0;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    double got = -1;
    if (ShortDecimal(text, got)) {
      ASSERT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(expected)) << text;
    }
  }
  double unused = 0;
  for (const char* refused : {"", ".", "1.2.3", "-5", "+5", "1e5", "12a", "1234567890123456"})
    EXPECT_FALSE(ShortDecimal(refused, unused)) << refused;
  EXPECT_TRUE(ShortDecimal("5.", unused));
  EXPECT_EQ(unused, 5);
}

}  // namespace
}  // namespace carteloom
