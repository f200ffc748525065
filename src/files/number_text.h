#pragma once
// Numbers as MIF files and messages show them: at most 15 significant digits,
// "." as the decimal point whatever the locale, trailing zeros dropped.
#include <cstddef>
#include <cstdint>
#include <string>

namespace carteloom {

// Written at out, which has room for kMaxNumberText bytes; returns the end.
// Padded: " 116.5", " .25", "-.5", " 0", a blank in front of a non-negative
// number and no "0" in front of the point. Plain: "116.5", "0.25", "-0.5", "0".
inline constexpr std::size_t kMaxNumberText = 32;
char* PutNumberText(char* out, double value, bool padded);

// The plain text, for messages.
std::string PlainNumberText(double value);

// Decimal digits of a whole number.
std::string IntegerText(std::int64_t value);
// The digits of a non-negative whole, padded on the left with zeros to
// minDigits, written at out, which has room for max(20, minDigits) bytes;
// returns their end.
char* PutIntegerText(char* out, std::uint64_t value, int minDigits = 1);

}  // namespace carteloom
