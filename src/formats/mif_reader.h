#pragma once
// Reading the objects of a MIF file. The header is read once for what the
// conversion needs of it: the MID delimiter, the Charset and whether the
// coordinates are WGS84 longitude/latitude. Objects are taken from the data
// section one at a time, by the keyword that starts their line, in any
// letter case. The scanner keeps a position in the text and never copies it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace carteloom {

struct MifVertex {
  double x = 0;  // longitude
  double y = 0;  // latitude
};

// Objects that can become neither waypoints nor routes, in the order the
// messages name them.
inline constexpr std::array<std::string_view, 7> kMifSkippedKinds{"Region",    "Arc",  "Ellipse", "Rect",
                                                                   "RoundRect", "Text", "None"};
using MifSkippedCounts = std::array<std::uint64_t, kMifSkippedKinds.size()>;

// One object of the data section, or a Collection with all its parts.
struct MifObject {
  // Point objects, the members of a Multipoint, the points of a Collection.
  std::vector<MifVertex> points;
  // The vertices of every line section (Line, each section of a Pline), in order.
  std::vector<MifVertex> vertices;
  // The end of each line section as an index into vertices.
  std::vector<std::size_t> sectionEnds;
};

struct MifLayerContents {
  bool points = false;  // a Point or Multipoint keyword, also inside a Collection
  bool lines = false;   // a Line or Pline keyword, likewise
};

class MifScanner {
 public:
  explicit MifScanner(std::string_view text);

  // The column delimiter of the MID file: the header's Delimiter clause, a tab without one.
  char Delimiter() const { return delimiter_; }
  // The value of the header's Charset clause without its quotes; empty without one.
  std::string_view Charset() const { return charset_; }
  // True when the header's CoordSys clause is Earth Projection 1, 104: WGS84
  // longitude/latitude, in any letter case and spread over any blanks and lines.
  bool DeclaresWgs84() const { return wgs84_; }

  // What the data section holds, judged by the keywords of its lines alone.
  MifLayerContents Contents() const;

  // The next object of the data section; false when there is none left.
  // The object's vectors are reused, so pass the same object every time.
  bool Next(MifObject& object);
  // The number of the object Next() gave last, from 1: the row of its MID values.
  std::uint64_t ObjectNumber() const { return objectNumber_; }
  // How far into the text the scanner is.
  std::size_t Position() const { return pos_; }
  // The objects, and parts of Collections, passed over so far, by kind.
  const MifSkippedCounts& Skipped() const { return skipped_; }

 private:
  void ReadHeader();
  bool ReadWgs84Clause();
  void ReadCharset();
  void SkipBlanks();
  void SkipSpace();
  void SkipLine();
  bool AtLineEnd() const;
  std::string_view Word();
  bool Number(double& value);
  bool ReadPart(std::string_view keyword, MifObject& object);
  void ReadPline(MifObject& object);
  std::size_t ReadVertices(std::vector<MifVertex>& out, std::uint64_t count);

  std::string_view text_;
  std::string_view charset_;
  char delimiter_ = '\t';
  bool wgs84_ = false;
  std::size_t dataStart_ = 0;
  std::size_t pos_ = 0;
  std::uint64_t objectNumber_ = 0;
  MifSkippedCounts skipped_{};
};

}  // namespace carteloom
