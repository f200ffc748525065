#pragma once
// What the three converters share about receiver records: the tags they
// recognise, and the position that fields 2 to 5 of a record carry.
#include <optional>
#include <string_view>

namespace carteloom {

// Every record's tag starts so.
inline constexpr std::string_view kTagPrefix = "$PZTJ";
inline constexpr std::string_view kWaypointTag = "$PZTJWPL";
inline constexpr std::string_view kRouteTag = "$PZTJRTE";
inline constexpr std::string_view kFormatTag = "$PZTJFMT";
inline constexpr std::string_view kCommandTag = "$PZTJCMD";

struct Position {
  double longitude = 0;
  double latitude = 0;
};

// Gathers fields 2 (latitude), 3 (its hemisphere), 4 (longitude) and 5 (its
// hemisphere) of one record. The position is complete once field 5 is
// taken; a record that ends between fields 4 and 5 still gives it up
// through Finish, with the letters it did carry.
class RecordPosition {
 public:
  // Field `number` of the current record; the position when this field completes it.
  std::optional<Position> Take(long long number, std::string_view field);
  // The record has ended: the position it left unfinished, if any.
  std::optional<Position> Finish();

 private:
  Position position_;
  bool pending_ = false;  // field 4 taken, field 5 not yet
};

}  // namespace carteloom
