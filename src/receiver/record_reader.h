#pragma once
// Receiver files a whole record at a time, numbered as RecordWalker numbers
// them: what the converters draw and what other readers (the GDAL driver)
// show come from the same records.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "receiver/field_reader.h"
#include "receiver/record_fields.h"

namespace carteloom {

struct ReceiverRecord {
  RecordKind kind = RecordKind::Waypoint;
  std::uint64_t line = 0;  // of its first field
  int fieldCount = 0;      // its first field included
  bool blank = true;       // every field empty: blank lines
  // Fields 2 to 5, once the record reached field 4 (as the converters take it).
  std::optional<Position> position;
  // The fields the reader was asked to keep, by number from 1; others are empty.
  std::string_view Field(int number) const {
    return number >= 1 && static_cast<std::size_t>(number) <= fields.size() ? fields[number - 1] : std::string_view();
  }
  // The end sentence ("$PZTJCMD,END*3D"); tells only when field 1 is kept.
  bool IsEnd() const { return fieldCount <= 2 && Field(1) == kCommandTag; }

  std::vector<std::string> fields;
};

// A damaged record: one that ended before its last field, lastField of its
// kind of file. The end sentence is no record of data, nor are blank lines,
// and a format record has no fixed fields. A waypoint record that ended
// before its longitude gives no position and is skipped; one that has it is
// read as far as it goes. Tells only when field 1 is kept.
inline bool IsDamaged(const ReceiverRecord& record, int lastField) {
  return record.kind != RecordKind::Format && !record.IsEnd() && !record.blank && record.fieldCount < lastField;
}

class RecordReader {
 public:
  // lastField and routes as for RecordWalker. keep: the fields whose text
  // the records carry, bit n for field n.
  RecordReader(FieldReader& source, int lastField, bool routes, std::uint32_t keep)
      : source_(source), walker_(lastField, routes), keep_(keep), lastField_(lastField) {}

  // The next record into record; false once the file is read.
  bool Next(ReceiverRecord& record);

 private:
  void Add(ReceiverRecord& record, std::string_view field, RecordPosition& position);

  FieldReader& source_;
  RecordWalker walker_;
  std::uint32_t keep_;
  int lastField_;
  bool held_ = false;  // a field read that starts the next record
  std::string heldField_;
  std::uint64_t heldLine_ = 0;
  RecordKind heldKind_ = RecordKind::Waypoint;
};

// Every field of a record, for RecordReader's keep.
inline constexpr std::uint32_t kAllFields = ~0u;

}  // namespace carteloom
