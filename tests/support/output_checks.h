#pragma once
// What every file this system writes must hold, checked on its bytes: the
// tests and the fuzz harnesses share these, so they need no test framework.
// A problem is empty when the file holds together, else it says what is wrong.
#include <cstddef>
#include <string>
#include <string_view>

namespace carteloom::testing {

// A MIF/MID pair of the receiver-to-MIF converters: every line ends in
// CR LF; the fixed header, then Point (with its Symbol line), Pline and None
// objects only; every Pline count at least 2 and equal to the vertex lines
// after it, then its Pen line; every number a plain decimal; one MID row per object.
struct PairShape {
  std::size_t objects = 0;
  std::size_t vertices = 0;
  std::string problem;
};
PairShape ShapeOfPair(std::string_view mif, std::string_view mid);

// A receiver file: every line a sentence framed by "$" and "*" with the
// checksum of its body, a waypoint or route sentence of 10 fields, or the
// end sentence.
struct SentenceCounts {
  std::size_t waypoints = 0;
  std::size_t routes = 0;
  std::size_t ends = 0;
  std::string problem;
};
SentenceCounts CountSentences(std::string_view bytes);

}  // namespace carteloom::testing
