#include "formats/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace carteloom {
namespace {

// The value rounded to 15 significant digits: d1.d2d3... x 10^exponent,
// with the trailing zeros of the digits removed.
struct SignificantDigits {
  std::string digits;
  int exponent = 0;
};

SignificantDigits RoundTo15Digits(double magnitude) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14);
  std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
  std::size_t e = text.find('e');
  SignificantDigits out;
  out.digits.push_back(text[0]);
  if (e > 2) out.digits.append(text.substr(2, e - 2));
  while (out.digits.size() > 1 && out.digits.back() == '0') out.digits.pop_back();
  const char* expBegin = text.data() + e + 1;
  if (*expBegin == '+') ++expBegin;
  std::from_chars(expBegin, text.data() + text.size(), out.exponent);
  return out;
}

std::string NumberText(double value, bool padded) {
  const char* sign = std::signbit(value) && value != 0 ? "-" : (padded ? " " : "");
  if (std::isnan(value)) return std::string(padded ? " " : "") + "NaN";
  if (std::isinf(value)) return std::string(sign) + "Inf";
  if (value == 0) return padded ? " 0" : "0";

  SignificantDigits d = RoundTo15Digits(std::fabs(value));
  std::string body;
  if (d.exponent >= 15 || d.exponent < -5) {
    // Out of the fixed range: mantissa and a signed two-digit exponent ("1.5E-06").
    body.push_back(d.digits[0]);
    if (d.digits.size() > 1) body.append(".").append(d.digits, 1);
    body.append(d.exponent < 0 ? "E-" : "E+");
    body.append(IntegerText(std::abs(d.exponent), 2));
  } else if (d.exponent >= 0) {
    std::size_t whole = static_cast<std::size_t>(d.exponent) + 1;
    if (d.digits.size() <= whole) {
      body = d.digits;
      body.append(whole - d.digits.size(), '0');
    } else {
      body.append(d.digits, 0, whole).append(".").append(d.digits, whole);
    }
  } else {
    body = padded ? "." : "0.";
    body.append(static_cast<std::size_t>(-d.exponent - 1), '0').append(d.digits);
  }
  return sign + body;
}

}  // namespace

std::string PaddedNumberText(double value) { return NumberText(value, true); }
std::string PlainNumberText(double value) { return NumberText(value, false); }

std::string IntegerText(std::int64_t value, int minDigits) {
  char buf[32];
  std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value)
                                      : static_cast<std::uint64_t>(value);
  auto res = std::to_chars(buf, buf + sizeof buf, magnitude);
  std::string digits(buf, res.ptr);
  std::string out = value < 0 ? "-" : "";
  if (static_cast<int>(digits.size()) < minDigits)
    out.append(static_cast<std::size_t>(minDigits) - digits.size(), '0');
  return out + digits;
}

}  // namespace carteloom
