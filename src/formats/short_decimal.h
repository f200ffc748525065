#pragma once
// The common case of reading a number, done without the general parser.
#include <string_view>

namespace carteloom {

// Digits with at most one "." among them (no sign, no exponent) as a double,
// rounded as from_chars rounds. False when the text is not of that form or
// too long to be exact this way; the caller then takes the general route.
bool ShortDecimal(std::string_view digits, double& value);

}  // namespace carteloom
