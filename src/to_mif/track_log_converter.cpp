// Track logs: one Pline through every logged position. The log is streamed:
// a first pass over the file counts the vertices that the second pass will
// write, because the count stands in front of them. The second pass walks
// the fields ahead on a thread of its own, which starts while this one counts.
#include <vector>

#include "files/file_routines.h"
#include "files/number_text.h"
#include "files/paths.h"
#include "files/read_ahead.h"
#include "receiver/record_reader.h"
#include "to_mif/converters.h"

namespace carteloom {
namespace {

constexpr std::size_t kBatchVertices = 8192;

// The log's records, a batch of vertices at a time.
class TrackWalk {
 public:
  explicit TrackWalk(FieldReader& source) : records_(source, kTrackLastField, false, 0) {}

  // The next vertices into batch; false once the file is read.
  bool Fill(std::vector<Position>& batch) {
    batch.clear();
    while (batch.size() < kBatchVertices) {
      if (!records_.Next(record_)) return false;
      if (record_.position) batch.push_back(*record_.position);
    }
    return true;
  }

 private:
  RecordReader records_;
  ReceiverRecord record_;
};

// The vertices TrackWalk hands out, counted without reading a number:
// with the same numbering, every field numbered 4 (a longitude) starts
// exactly one vertex, completed by field 5 or by the end of its record.
long long CountTrackVertices(FieldReader& source) {
  RecordWalker walker(kTrackLastField, false);
  long long count = 0;
  while (!source.AtEnd()) {
    walker.Take(source.ReadField());
    if (walker.Number() == waypoint_field::kLongitude) ++count;
  }
  return count;
}

}  // namespace

void ConvertTrackLog(const std::string& sourcePath, FieldReader& source, MifOutputs out) {
  WriteMifHeader(out.mif, out.charset);
  TrackWalk walk(source);
  ReadAhead<std::vector<Position>> ahead([&walk](std::vector<Position>& batch) { return walk.Fill(batch); });

  long long count = 0;
  {
    FieldReader counting(sourcePath);
    count = CountTrackVertices(counting);
  }
  // No vertex, no object: a Pline without vertices is no line at all.
  if (count == 0) return;

  // GDAL refuses a Pline of one vertex: a one-point log is drawn as a line to itself.
  out.mif.WriteLine("Pline " + IntegerText(count == 1 ? 2 : count));
  long long written = 0;
  Position last;
  while (const std::vector<Position>* batch = ahead.Next()) {
    source.ReportProgress();
    for (const Position& p : *batch) WriteCoordinateLine(out.mif, "", p.longitude, p.latitude);
    if (!batch->empty()) last = batch->back();
    written += static_cast<long long>(batch->size());
  }
  // Only a file that changed between the two passes gets here; its MIF would
  // contradict itself, and the batch then keeps whatever file was in place.
  if (written != count) throw FileError(sourcePath, "文件在转换过程中被改动了");
  if (count == 1) WriteCoordinateLine(out.mif, "", last.longitude, last.latitude);
  out.mif.WriteLine("Pen (2,2,0)");
  out.mid.WriteLine(MidValueText(BaseName(sourcePath)));
}

}  // namespace carteloom
