// Waypoint files: one Point per waypoint record, its name as the MID row.
#include "formats/number_text.h"
#include "to_mif/converters.h"
#include "to_mif/record_fields.h"

namespace carteloom {
namespace {

constexpr long long kNameField = 8;
constexpr long long kLastField = 10;
// Fields of a format record are numbered from here and never reach a field that is used.
constexpr long long kFormatRecord = 1000;

// Writes points and keeps the MID file in step: every point gets exactly one row.
class PointWriter {
 public:
  explicit PointWriter(MifOutputs out) : out_(out) {}

  void Point(const Position& p) {
    line_.assign("Point ");
    AppendPaddedNumberText(line_, p.longitude);
    line_.push_back(' ');
    AppendPaddedNumberText(line_, p.latitude);
    out_.mif.WriteLine(line_);
    out_.mif.WriteLine("Symbol (32,0,9)");
    nameOwed_ = true;
  }
  void Name(std::string_view name) {
    if (!nameOwed_) return;
    out_.mid.WriteLine(MidValueText(name));
    nameOwed_ = false;
  }
  // The record ended before its name field.
  void RecordEnded() { Name({}); }

 private:
  MifOutputs out_;
  std::string line_;  // reused: no allocation per point
  bool nameOwed_ = false;
};

}  // namespace

void ConvertWaypointFile(FieldReader& source, MifOutputs out) {
  WriteMifHeader(out.mif, out.charset);
  PointWriter writer(out);
  RecordPosition position;
  auto endRecord = [&] {
    if (auto p = position.Finish()) writer.Point(*p);
    writer.RecordEnded();
  };

  long long number = 0;
  while (!source.AtEnd()) {
    ++number;
    std::string_view field = source.ReadField();
    if (field == kFormatTag || field == kWaypointTag) {
      endRecord();
      number = field == kFormatTag ? kFormatRecord : 1;
    }
    if (auto p = position.Take(number, field)) writer.Point(*p);
    if (number == kNameField) writer.Name(field);
    if (number == kLastField) number = 0;
  }
  endRecord();
}

}  // namespace carteloom
