#pragma once
// The common case of reading a number, done without the general parser.
#include <string_view>

namespace carteloom {

// Digits with at most one "." among them (no sign, no exponent) as a double,
// rounded as from_chars rounds. False when the text is not of that form or
// too long to be exact this way; the caller then takes the general route.
bool ShortDecimal(std::string_view digits, double& value);

// The same for the digits at the start of [p, end): where they stop, or
// nullptr when they are not of that form or too long.
const char* ShortDecimalPrefix(const char* p, const char* end, double& value);

}  // namespace carteloom
