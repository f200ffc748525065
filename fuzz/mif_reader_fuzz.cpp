// The MIF scanner and the MID row reader on arbitrary text, the MID read with
// the delimiter and charset the same text declares as a MIF header.
#include <algorithm>
#include <cmath>

#include "fuzz_support.h"
#include "mif/mid_reader.h"
#include "mif/mif_scanner.h"
#include "support/mif_objects.h"

using namespace carteloom;
using carteloom::fuzz::FileHolding;
using carteloom::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  // A file read in blocks of a few bytes, in pieces of a few vertices, gives
  // what the text read whole gives, when points and lines are kept apart.
  const std::string path = FileHolding(text);
  const std::size_t small = size % 7 + 1;
  Require(testing::ScannedObjects(MifScanner(path, small), small) ==
              testing::ScannedObjects(MifScanner::FromText(text), 1),
          "the file read in blocks differs from the text");
  MifScanner scanner = MifScanner::FromText(std::string(text));
  MifLayerContents found;
  std::size_t objects = 0, vertices = 0;
  for (MifObject object; scanner.Next(object);) {
    Require(scanner.ObjectNumber() == ++objects && objects <= size, "object numbers do not count the objects");
    for (const auto* all : {&object.points, &object.vertices})
      for (const Position& v : *all) Require(std::isfinite(v.longitude) && std::isfinite(v.latitude), "a vertex that is not finite");
    // Each vertex needs two numbers of a byte each and a blank between.
    vertices += object.points.size() + object.vertices.size();
    Require(vertices <= size / 3 + objects, "more vertices than the text holds");
    Require((object.sectionEnds.empty() ? 0 : object.sectionEnds.back()) == object.vertices.size() &&
                std::is_sorted(object.sectionEnds.begin(), object.sectionEnds.end()),
            "line sections do not cover the vertices in order");
    found.points |= !object.points.empty();
    found.lines |= !object.sectionEnds.empty();
  }
  // The keywords promise at least what the objects hold.
  const MifLayerContents promised = scanner.Contents();
  Require((promised.points || !found.points) && (promised.lines || !found.lines), "Contents() misses objects");

  // Every line, also an empty one, is a row, and text after the last LF one
  // more; only quoted values join lines. A name recoded to GBK takes at most
  // two bytes for each of its own. The file read in blocks of a few bytes
  // gives the same rows.
  MidReader reader = MidReader::FromText(text, scanner.Delimiter()), inBlocks(path, scanner.Delimiter(), small);
  reader.NamesIn(scanner.Charset());
  inBlocks.NamesIn(scanner.Charset());
  const std::size_t lines = std::count(text.begin(), text.end(), '\n') + (size == 0 || text.back() == '\n' ? 0 : 1);
  std::size_t rows = 0;
  for (std::string value, again; reader.NextRow(value);) {
    Require(++rows <= lines && value.find('\n') == std::string::npos && value.size() <= 2 * size,
            "a row past the lines, holding a line end, or longer than the text");
    Require(inBlocks.NextRow(again) && again == value, "the file read in blocks gives another row");
  }
  std::string extra;
  Require(!inBlocks.NextRow(extra), "the file read in blocks gives more rows");
  Require(rows == lines || text.find('"') != std::string::npos,
          std::to_string(rows) + " rows for " + std::to_string(lines) + " lines");
  return 0;
}
