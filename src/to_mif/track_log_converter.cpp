// Track logs: one Pline through every logged position. The log is streamed:
// a first pass over the file counts the vertices that the second pass will
// write, because the count stands in front of them.
#include "formats/file_error.h"
#include "formats/number_text.h"
#include "formats/paths.h"
#include "to_mif/converters.h"
#include "to_mif/record_fields.h"

namespace carteloom {
namespace {

constexpr long long kLastField = 11;
constexpr long long kFormatRecord = 1000;

// Runs the log's field numbering over the source and hands each vertex to onVertex.
template <typename OnVertex>
void WalkTrackLog(FieldReader& source, OnVertex onVertex) {
  RecordPosition position;
  long long number = 0;
  while (!source.AtEnd()) {
    ++number;
    std::string_view field = source.ReadField();
    if (field == kFormatTag || field == kWaypointTag) {
      if (auto p = position.Finish()) onVertex(*p);
      number = field == kFormatTag ? kFormatRecord : 1;
    }
    if (auto p = position.Take(number, field)) onVertex(*p);
    if (number == kLastField) number = 0;
  }
  if (auto p = position.Finish()) onVertex(*p);
}

// The vertices WalkTrackLog hands out, counted without reading a number:
// with the same numbering, every field numbered 4 (a longitude) starts
// exactly one vertex, completed by field 5 or by the end of its record.
long long CountTrackVertices(FieldReader& source) {
  long long number = 0;
  long long count = 0;
  while (!source.AtEnd()) {
    ++number;
    std::string_view field = source.ReadField();
    if (field == kFormatTag || field == kWaypointTag) number = field == kFormatTag ? kFormatRecord : 1;
    if (number == 4) ++count;
    if (number == kLastField) number = 0;
  }
  return count;
}

}  // namespace

void ConvertTrackLog(const std::string& sourcePath, FieldReader& source, MifOutputs out) {
  WriteMifHeader(out.mif, out.charset);

  long long count = 0;
  {
    FieldReader counting(sourcePath);
    count = CountTrackVertices(counting);
  }
  // No vertex, no object: a Pline without vertices is no line at all.
  if (count == 0) return;

  out.mif.WriteLine("Pline" + PaddedNumberText(static_cast<double>(count)));
  long long written = 0;
  std::string line;
  WalkTrackLog(source, [&](const Position& p) {
    line.clear();
    AppendPaddedNumberText(line, p.longitude);
    line.push_back(' ');
    AppendPaddedNumberText(line, p.latitude);
    out.mif.WriteLine(line);
    ++written;
  });
  // Only a file that changed between the two passes gets here; its MIF would
  // contradict itself, and the batch then keeps whatever file was in place.
  if (written != count) throw FileError(sourcePath, "文件在转换过程中被改动了");
  out.mif.WriteLine("Pen (2,2,0)");
  out.mid.WriteLine(MidValueText(BaseName(sourcePath)));
}

}  // namespace carteloom
