// Waypoint files: one Point per waypoint record, its name as the MID row.
// The fields are walked ahead on a thread of their own, which hands over the
// points and MID rows it found; this thread writes them.
#include <string>
#include <vector>

#include "files/read_ahead.h"
#include "receiver/record_reader.h"
#include "to_mif/converters.h"

namespace carteloom {
namespace {

constexpr std::size_t kBatchPoints = 8192;

struct WaypointBatch {
  std::vector<Position> points;
  std::string rows;  // MID rows as written, without their line ends
  std::vector<std::size_t> rowEnds;
};

// The record walk: one point and one MID row per record that reached its
// longitude, the row empty when the record ended before its name.
class WaypointWalk {
 public:
  explicit WaypointWalk(FieldReader& source) : records_(source, waypoint_field::kLast, false, 1u << waypoint_field::kName) {}

  // The next points and rows into batch; false once the file is read.
  bool Fill(WaypointBatch& batch) {
    batch.points.clear();
    batch.rows.clear();
    batch.rowEnds.clear();
    while (batch.points.size() < kBatchPoints) {
      if (!records_.Next(record_)) return false;
      if (!record_.position) continue;
      batch.points.push_back(*record_.position);
      batch.rows.append(MidValueText(record_.Field(waypoint_field::kName)));
      batch.rowEnds.push_back(batch.rows.size());
    }
    return true;
  }

 private:
  RecordReader records_;
  ReceiverRecord record_;
};

}  // namespace

void ConvertWaypointFile(FieldReader& source, MifOutputs out) {
  WriteMifHeader(out.mif, out.charset);
  WaypointWalk walk(source);
  ReadAhead<WaypointBatch> ahead([&walk](WaypointBatch& batch) { return walk.Fill(batch); });
  while (const WaypointBatch* batch = ahead.Next()) {
    source.ReportProgress();
    for (const Position& p : batch->points) {
      WriteCoordinateLine(out.mif, "Point ", p.longitude, p.latitude);
      out.mif.WriteLine("Symbol (32,0,9)");
    }
    std::size_t begin = 0;
    for (std::size_t end : batch->rowEnds) {
      out.mid.WriteLine(std::string_view(batch->rows).substr(begin, end - begin));
      begin = end;
    }
  }
}

}  // namespace carteloom
