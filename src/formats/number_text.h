#pragma once
// Numbers as MIF files and messages show them: at most 15 significant digits,
// "." as the decimal point whatever the locale, trailing zeros dropped.
#include <cstddef>
#include <cstdint>
#include <string>

namespace carteloom {

// " 116.5", " .25", "-.5", " 0": a blank in front of a non-negative number,
// no "0" in front of the point.
std::string PaddedNumberText(double value);

// "116.5", "0.25", "-0.5", "0": no blank, a "0" in front of the point.
std::string PlainNumberText(double value);

// The plain text appended to out, for writers that build a line at a time.
void AppendPlainNumberText(std::string& out, double value);
// The padded text written at out, which has room for kMaxNumberText bytes; returns its end.
inline constexpr std::size_t kMaxNumberText = 32;
char* PutPaddedNumberText(char* out, double value);

// Decimal digits of a whole number, padded on the left with zeros to minDigits.
std::string IntegerText(std::int64_t value, int minDigits = 1);
// The digits of a non-negative whole written at out, which has room for
// max(20, minDigits) bytes; returns their end.
char* PutIntegerText(char* out, std::uint64_t value, int minDigits = 1);

}  // namespace carteloom
