#pragma once
// Checks on the files a conversion leaves behind: whether a MIF/MID pair or
// a receiver file holds together, and whether a folder holds leftovers.
#include <cstddef>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace carteloom::testing {

// A MIF/MID pair as a GIS reads it. problem is empty when every line ends
// in CR LF, every Pline count equals the vertex lines after it and the MID
// holds one row per object; otherwise it says what is wrong.
struct PairShape {
  std::size_t objects = 0;
  std::size_t vertices = 0;
  std::size_t midRows = 0;
  std::string problem;
};
PairShape ShapeOfPair(const std::string& mifPath, const std::string& midPath);

// Empty when every line is a sentence with a valid checksum and the field
// count of its kind; otherwise the first line that is not.
std::string ReceiverFileProblem(const std::string& bytes);

// The names in a folder, sorted; a temporary file left behind shows here.
std::vector<std::string> FolderEntries(const std::string& folder);

// The texts of the message boxes shown, in order.
std::vector<std::string> Messages(const ScriptedUi& ui);

// True when the build carries AddressSanitizer (large cases are shrunk there).
constexpr bool kSanitized =
#if defined(__SANITIZE_ADDRESS__)
    true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    true;
#else
    false;
#endif
#else
    false;
#endif

}  // namespace carteloom::testing
