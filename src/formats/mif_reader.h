#pragma once
// Reading the objects of a MIF file. The header is read for what the MID
// file needs (its column delimiter); objects are taken from the data
// section only, one at a time, by the keyword that starts their line, in
// any letter case. The scanner keeps a position in the text and never
// copies it.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace carteloom {

struct MifVertex {
  double x = 0;  // longitude
  double y = 0;  // latitude
};

enum class MifObjectKind {
  Point,     // "Point x y"
  Polyline,  // "Pline", "Pline Multiple n" or "Line x1 y1 x2 y2"
  Other,     // any other object (Region, Text, None ...): it still owns its MID row
};

enum class MifLayerKind { Points, Polylines, Neither };

struct MifObject {
  MifObjectKind kind = MifObjectKind::Other;
  // The point, or the vertices of all sections of a polyline in order.
  std::vector<MifVertex> vertices;
  // For a polyline: the end of each section as an index into vertices.
  std::vector<std::size_t> sectionEnds;
};

class MifScanner {
 public:
  explicit MifScanner(std::string_view text);

  // The text before the data section (all of it when there is no "Data" line).
  std::string_view Header() const { return header_; }
  // The column delimiter of the MID file: the header's Delimiter clause, a tab without one.
  char Delimiter() const { return delimiter_; }

  // The next object of the data section; false when there is none left.
  // The object's vectors are reused, so pass the same object every time.
  bool Next(MifObject& object);

 private:
  friend enum MifLayerKind LayerKind(std::string_view text);
  enum MifLayerKind KindOfLayer();
  void ReadHeader();
  void SkipBlanks();
  void SkipLine();
  bool AtLineEnd() const;
  std::string_view Word();
  bool Number(double& value);
  void ReadPoint(MifObject& object);
  void ReadLine(MifObject& object);
  void ReadPline(MifObject& object);
  std::size_t ReadVertices(MifObject& object, std::uint64_t count);

  std::string_view text_;
  std::string_view header_;
  char delimiter_ = '\t';
  std::size_t pos_ = 0;
  std::uint64_t partsToSwallow_ = 0;  // members of a Collection, read as part of it
};

// Points when the data section holds a Point, else polylines when it holds
// a Pline or Line, else neither.
MifLayerKind LayerKind(std::string_view text);

}  // namespace carteloom
