#pragma once
// A MIF layer as the scanner gives it, as text, for the tests and the fuzz
// harness alike: what the layer holds ("PL"); each object as its points
// ("P1 2 ") and its line sections ("1 2 3 4 |"), the pieces of an object
// joined, with "!" for a piece of more sections than its room allows; last the object
// count and the objects skipped, by kind. Numbers are written shortest and
// exact, so two readings that agree here agree in every bit.
#include <charconv>
#include <string>
#include <vector>

#include "mif/mif_scanner.h"

namespace carteloom::testing {

inline std::vector<std::string> ScannedObjects(MifScanner scanner, std::size_t room) {
  const MifLayerContents contents = scanner.Contents();
  std::vector<std::string> out{std::string(contents.points ? "P" : "") + (contents.lines ? "L" : "")}, lines;
  auto put = [](std::string& to, const Position& v) {
    char b[64];
    to.append(b, std::to_chars(b, b + 64, v.longitude).ptr) += ' ';
    to.append(b, std::to_chars(b, b + 64, v.latitude).ptr) += ' ';
  };
  for (MifObject o; scanner.Next(o, room);) {
    if (!o.continued) out.emplace_back(), lines.emplace_back();
    // Empty sections take room too; only a Line may pass it, by its own end.
    if (o.sectionEnds.size() > room && o.sectionEnds.size() - room > 1) out.back() += "!";
    for (const Position& v : o.points) put(out.back() += 'P', v);
    for (std::size_t v = 0, s = 0; v <= o.vertices.size(); ++v) {
      for (; s < o.sectionEnds.size() && o.sectionEnds[s] == v; ++s) lines.back() += "|";
      if (v < o.vertices.size()) put(lines.back(), o.vertices[v]);
    }
  }
  for (std::size_t i = 0; i < lines.size(); ++i) out[i + 1] += lines[i];
  out.push_back(std::to_string(scanner.ObjectNumber()));
  for (std::uint64_t count : scanner.Skipped()) out.back().append(" ").append(std::to_string(count));
  return out;
}

}  // namespace carteloom::testing
