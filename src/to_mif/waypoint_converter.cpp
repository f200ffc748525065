// Waypoint files: one Point per waypoint record, its name as the MID row.
// The fields are walked ahead on a thread of their own, which hands over the
// points and MID rows it found; this thread writes them.
#include <string>
#include <vector>

#include "formats/read_ahead.h"
#include "to_mif/converters.h"
#include "to_mif/record_fields.h"

namespace carteloom {
namespace {

constexpr std::size_t kBatchPoints = 8192;

struct WaypointBatch {
  std::vector<Position> points;
  std::string rows;  // MID rows as written, without their line ends
  std::vector<std::size_t> rowEnds;
};

// The field walk. It keeps the MID rows in step with the points: every
// point gets exactly one row, empty when its record ended before its name.
class WaypointWalk {
 public:
  explicit WaypointWalk(FieldReader& source) : source_(source) {}

  // The next points and rows into batch; false once the file is read.
  bool Fill(WaypointBatch& batch) {
    batch.points.clear();
    batch.rows.clear();
    batch.rowEnds.clear();
    while (batch.points.size() < kBatchPoints) {
      if (source_.AtEnd()) {
        EndRecord(batch);
        return false;
      }
      std::string_view field = source_.ReadField();
      if (walker_.Take(field)) EndRecord(batch);
      if (auto p = position_.Take(walker_.Number(), field)) Point(batch, *p);
      if (walker_.Number() == waypoint_field::kName) Name(batch, field);
    }
    return true;
  }

 private:
  void Point(WaypointBatch& batch, const Position& p) {
    batch.points.push_back(p);
    nameOwed_ = true;
  }
  void Name(WaypointBatch& batch, std::string_view name) {
    if (!nameOwed_) return;
    batch.rows.append(MidValueText(name));
    batch.rowEnds.push_back(batch.rows.size());
    nameOwed_ = false;
  }
  void EndRecord(WaypointBatch& batch) {
    if (auto p = position_.Finish()) Point(batch, *p);
    Name(batch, {});
  }

  FieldReader& source_;
  RecordWalker walker_{waypoint_field::kLast, false};
  RecordPosition position_;
  bool nameOwed_ = false;
};

}  // namespace

void ConvertWaypointFile(FieldReader& source, MifOutputs out) {
  WriteMifHeader(out.mif, out.charset);
  WaypointWalk walk(source);
  ReadAhead<WaypointBatch> ahead([&walk](WaypointBatch& batch) { return walk.Fill(batch); });
  while (const WaypointBatch* batch = ahead.Next()) {
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
