#pragma once
// Reading the objects of a MIF file. The header is read once for what the
// conversion needs of it: the MID delimiter, the Charset and whether the
// coordinates are WGS84 longitude/latitude. Objects are taken from the data
// section one at a time, by the keyword that starts their line, in any
// letter case. The file is read in blocks, and an object too long for the
// caller's room comes in pieces, so memory does not grow with the layer.
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/block_reader.h"
#include "files/position.h"

namespace carteloom {

// Objects that can become neither waypoints nor routes, in the order the
// messages name them.
inline constexpr std::array<std::string_view, 7> kMifSkippedKinds{"Region",    "Arc",  "Ellipse", "Rect",
                                                                   "RoundRect", "Text", "None"};
using MifSkippedCounts = std::array<std::uint64_t, kMifSkippedKinds.size()>;

// One object of the data section, or a Collection with all its parts; or
// one piece of it, when it holds more vertices than the caller had room for.
struct MifObject {
  // Point objects, the members of a Multipoint, the points of a Collection.
  std::vector<Position> points;
  // The vertices of every line section (Line, each section of a Pline), in order.
  std::vector<Position> vertices;
  // The end of each line section that ends in this piece, as an index into
  // vertices. Vertices after the last end belong to a section that goes on
  // in the next piece.
  std::vector<std::size_t> sectionEnds;
  bool continued = false;  // this piece carries on the object of the one before
  bool finished = true;    // the object ends with this piece
};

struct MifLayerContents {
  bool points = false;  // a Point or Multipoint keyword, also inside a Collection
  bool lines = false;   // a Line or Pline keyword, likewise
};

class MifScanner : public BlockReader {
 public:
  // Opens the file and reads its header; throws FileError naming the path and the reason.
  explicit MifScanner(const std::string& path, std::size_t blockSize = kBlockSize);
  // Reads from text held in memory (tests, fuzzing).
  static MifScanner FromText(std::string text);

  // The column delimiter of the MID file: the header's Delimiter clause, a tab without one.
  char Delimiter() const { return delimiter_; }
  // The value of the header's Charset clause without its quotes; empty without one.
  const std::string& Charset() const { return charset_; }
  // True when the header's CoordSys clause is Earth Projection 1, 104: WGS84
  // longitude/latitude, in any letter case and spread over any blanks and lines.
  bool DeclaresWgs84() const { return wgs84_; }

  // What the data section holds, judged by the keywords of its lines alone:
  // a pass of its own over the file.
  MifLayerContents Contents() const;

  // The next object of the data section, or the next piece of it: a piece
  // ends once it holds room points, vertices and section ends (a Point or
  // Line may pass that by its own few). False when there is none left. The
  // object's vectors are reused, so pass the same object every time.
  bool Next(MifObject& object, std::size_t room = std::numeric_limits<std::size_t>::max());
  // As Next(), but the piece is added after what object holds already: its
  // vectors are not cleared, its section ends index the whole of vertices,
  // and room counts from there. Readers that gather many objects read them
  // straight into place so.
  bool AppendNext(MifObject& object, std::size_t room);
  // The number of the object Next() gave last, from 1: the row of its MID values.
  std::uint64_t ObjectNumber() const { return objectNumber_; }
  // The objects, and parts of Collections, passed over so far, by kind.
  const MifSkippedCounts& Skipped() const { return skipped_; }

 private:
  MifScanner(InMemory, std::string text);
  // What the lines from pos_ on hold, judged by their first word.
  MifLayerContents JudgeLines();
  // What a part did with the room it had.
  enum class Part { None, Done, Suspended };

  // Makes the line that pos_ is in whole in the buffer, through its line
  // end; bytes before keepFrom may go. Returns how far positions moved.
  std::size_t WholeLine(std::size_t keepFrom);
  // The first line end from there, or end_.
  std::size_t LineEndFrom(std::size_t from) const;
  char At(std::size_t i) const { return buffer_[i]; }
  bool AtEnd() const { return pos_ >= end_; }
  void ReadHeader();
  bool ReadWgs84Clause();
  void ReadCharset();
  void SkipBlanks();
  void SkipSpace();
  void SkipLine();
  bool AtLineEnd() const;
  std::string_view Word();
  std::optional<double> Number();
  // Two numbers, a longitude and a latitude, added to to; false when either is missing.
  bool AddVertex(std::vector<Position>& to);
  // Whether the piece being read has taken all the room it was given.
  bool Full(const MifObject& object) const {
    return object.points.size() + object.vertices.size() + object.sectionEnds.size() >= roomEnd_;
  }
  Part ReadPart(std::string_view keyword, MifObject& object);
  Part GoOnMultipoint(MifObject& object);
  Part GoOnPline(MifObject& object);

  std::string source_;        // the file's path; empty for a text in memory
  std::size_t blockSize_ = kBlockSize;
  // The line end of the line pos_ is in, or end_ at the end of the file; none known at first.
  std::size_t lineEnd_ = std::numeric_limits<std::size_t>::max();
  bool headerRead_ = false;   // until then nothing read is let go: the header is read back and forth
  std::string charset_;
  char delimiter_ = '\t';
  bool wgs84_ = false;
  std::uint64_t objectNumber_ = 0;
  std::size_t roomEnd_ = 0;  // points, vertices and section ends in the object where the piece must end
  MifSkippedCounts skipped_{};
  // Where a suspended object goes on.
  enum class Open { Nothing, Multipoint, Pline, Parts } open_ = Open::Nothing;
  std::uint64_t partsLeft_ = 0;     // parts of the object still to come, the open one included
  std::uint64_t pointsLeft_ = 0;    // of the open Multipoint
  std::uint64_t sectionsLeft_ = 0;  // of the open Pline, after the open section
  std::uint64_t verticesLeft_ = 0;  // of the open section
  bool sectionOpen_ = false;
};

}  // namespace carteloom
