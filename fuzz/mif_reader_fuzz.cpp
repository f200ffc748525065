// The MIF scanner and the MID row reader on arbitrary text.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "formats/mid_reader.h"
#include "formats/mif_reader.h"
#include "fuzz_support.h"

using namespace carteloom;
using carteloom::fuzz::Require;

namespace {

void CheckScanner(std::string_view text) {
  MifScanner scanner(text);
  Require(scanner.Header().size() <= text.size(), "header longer than the text");
  MifObject object;
  bool anyPoint = false;
  bool anyLine = false;
  std::size_t objects = 0;
  std::size_t vertices = 0;
  while (scanner.Next(object)) {
    Require(++objects <= text.size(), "more objects than bytes");
    Require(scanner.ObjectNumber() == objects, "object numbers do not count the objects");
    for (const auto* all : {&object.points, &object.vertices})
      for (const MifVertex& v : *all) Require(std::isfinite(v.x) && std::isfinite(v.y), "a vertex that is not finite");
    vertices += object.points.size() + object.vertices.size();
    // Each vertex needs two numbers of a byte each and a blank between.
    Require(vertices <= text.size() / 3 + objects, "more vertices than the text holds");
    // A Pline whose count is missing has no section and no vertex.
    Require((object.sectionEnds.empty() ? 0 : object.sectionEnds.back()) == object.vertices.size() &&
                std::is_sorted(object.sectionEnds.begin(), object.sectionEnds.end()),
            "line sections do not cover the vertices in order");
    anyPoint |= !object.points.empty();
    anyLine |= !object.sectionEnds.empty();
  }
  std::uint64_t skipped = 0;
  for (std::uint64_t count : scanner.Skipped()) skipped += count;
  Require(skipped * 4 <= text.size() + 1, "more skipped objects than keywords");
  // The keywords promise at least what the objects hold.
  MifLayerContents contents = MifScanner(text).Contents();
  Require(contents.points || !anyPoint, "Contents() misses the points");
  Require(contents.lines || !anyLine, "Contents() misses the lines");
}

void CheckMid(const std::string& text, char delimiter) {
  MidReader reader = MidReader::FromText(text, delimiter);
  std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  std::size_t rows = 0;
  std::string value;
  while (reader.NextRow(value)) {
    Require(++rows <= lines + 1, "more rows than lines");
    Require(value.find('\n') == std::string::npos, "a value holds a line end");
    Require(value.size() <= text.size(), "a value longer than the text");
  }
  // Every line, also an empty one, is a row; text after the last LF is one
  // more. Only quoted values join lines.
  std::size_t expected = lines + (text.empty() || text.back() == '\n' ? 0 : 1);
  Require(rows <= expected, "rows " + std::to_string(rows) + " for " + std::to_string(expected) + " lines");
  if (text.find('"') == std::string::npos)
    Require(rows == expected, "rows " + std::to_string(rows) + " for " + std::to_string(expected) + " lines");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  CheckScanner(text);
  MifScanner scanner(text);
  CheckMid(text, scanner.Delimiter());
  CheckMid(text, ',');
  return 0;
}
