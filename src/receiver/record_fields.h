#pragma once
// How the three converters read receiver files: the fields numbered within
// their records, and the position that a record's fields 2 to 5 carry.
#include <optional>
#include <string_view>

#include "files/position.h"
#include "receiver/records.h"

namespace carteloom {

enum class RecordKind { Waypoint, Route, Format };

// Numbers the fields of a file as they come. A tag starts a record at 1;
// the field after the last one of a record is 1 again, whatever it holds,
// and belongs to a record of the same kind. The fields before any tag are
// those of a waypoint record. A format record's fields are of no use: they
// are numbered 0, up to the next tag.
class RecordWalker {
 public:
  // lastField: the fields of a record in this kind of file. routes: a route
  // tag starts a record of its own (route files); elsewhere it is a field.
  RecordWalker(int lastField, bool routes) : lastField_(lastField), routes_(routes) {}

  // Numbers the next field; true when it is a tag, which ends the record before it.
  bool Take(std::string_view field) {
    number_ = number_ == lastField_ ? 1 : number_ + 1;
    starts_ = number_ == 1;
    const bool tag = field == kWaypointTag || field == kFormatTag || (routes_ && field == kRouteTag);
    if (tag) {
      number_ = 1;
      starts_ = true;
      kind_ = field == kWaypointTag ? RecordKind::Waypoint
              : field == kFormatTag ? RecordKind::Format
                                    : RecordKind::Route;
    }
    return tag;
  }
  int Number() const { return kind_ == RecordKind::Format ? 0 : number_; }
  RecordKind Kind() const { return kind_; }
  // True when the field just taken starts a record (a tag, or the field after a record's last).
  bool Starts() const { return starts_; }

 private:
  int lastField_;
  bool routes_;
  int number_ = 0;
  bool starts_ = false;
  RecordKind kind_ = RecordKind::Waypoint;
};

// Gathers fields 2 (latitude), 3 (its hemisphere), 4 (longitude) and 5 (its
// hemisphere) of one record. The position is complete once field 5 is
// taken; a record that ends between fields 4 and 5 still gives it up
// through Finish, with the letters it did carry.
class RecordPosition {
 public:
  // Field `number` of the current record; the position when this field completes it.
  std::optional<Position> Take(int number, std::string_view field);
  // The record has ended: the position it left unfinished, if any.
  std::optional<Position> Finish();

 private:
  Position position_;
  bool pending_ = false;  // field 4 taken, field 5 not yet
};

}  // namespace carteloom
