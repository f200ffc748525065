#include "receiver/record_reader.h"

namespace carteloom {

bool RecordReader::Next(ReceiverRecord& record) {
  for (std::size_t n = 0; n < record.fields.size() && n < static_cast<std::size_t>(record.fieldCount); ++n)
    record.fields[n].clear();
  record.fields.resize(static_cast<std::size_t>(lastField_));
  record.fieldCount = 0;
  record.blank = true;
  record.position.reset();
  RecordPosition position;
  if (held_) {
    held_ = false;
    record.kind = heldKind_;
    record.line = heldLine_;
    Add(record, heldField_, position);
  }
  while (!source_.AtEnd()) {
    std::string_view field = source_.ReadField();
    walker_.Take(field);
    if (walker_.Starts() && record.fieldCount > 0) {
      // The field belongs to the next record: hold it until then.
      held_ = true;
      if ((keep_ & 2u) != 0) heldField_.assign(field);
      heldLine_ = source_.Line();
      heldKind_ = walker_.Kind();
      break;
    }
    if (record.fieldCount == 0) {
      record.kind = walker_.Kind();
      record.line = source_.Line();
    }
    Add(record, field, position);
  }
  if (record.fieldCount == 0) return false;
  if (!record.position) record.position = position.Finish();
  return true;
}

void RecordReader::Add(ReceiverRecord& record, std::string_view field, RecordPosition& position) {
  const int number = ++record.fieldCount;
  record.blank = record.blank && field.empty();
  if (number <= lastField_ && (keep_ >> number & 1u) != 0) record.fields[static_cast<std::size_t>(number - 1)].assign(field);
  if (record.kind != RecordKind::Waypoint) return;
  if (auto p = position.Take(number, field)) record.position = p;
}

}  // namespace carteloom
