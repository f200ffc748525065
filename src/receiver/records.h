#pragma once
// The records of receiver files as this system reads and writes them: a tag,
// then fields after commas, numbered from the tag as 1; the last field
// carries "*" and the checksum of the record.
#include <string_view>

namespace carteloom {

inline constexpr std::string_view kTagPrefix = "$PZTJ";  // every record's tag starts so
inline constexpr std::string_view kWaypointTag = "$PZTJWPL";
inline constexpr std::string_view kRouteTag = "$PZTJRTE";
inline constexpr std::string_view kFormatTag = "$PZTJFMT";  // its fields are not fixed
inline constexpr std::string_view kCommandTag = "$PZTJCMD";
inline constexpr std::string_view kEndSentence = "$PZTJCMD,END*3D";

// The last field of a record without the "*" and checksum it carries.
inline std::string_view WithoutChecksum(std::string_view field) { return field.substr(0, field.find('*')); }

// A waypoint record: latitude (ddmm.mmm) and its hemisphere, longitude
// (dddmm.mmm) and its hemisphere, altitude, its unit, name, comment, symbol.
// A track record has the position where a waypoint has it.
namespace waypoint_field {
inline constexpr int kLatitude = 2;
inline constexpr int kLatitudeHemisphere = 3;
inline constexpr int kLongitude = 4;
inline constexpr int kLongitudeHemisphere = 5;
inline constexpr int kAltitude = 6;
inline constexpr int kAltitudeUnit = 7;
inline constexpr int kName = 8;
inline constexpr int kComment = 9;
inline constexpr int kLast = 10;
}  // namespace waypoint_field
inline constexpr int kTrackLastField = 11;

// A route record names up to two waypoints of its route: records of the
// route, number of this record (from 1), kind letter, route number, route
// name, first waypoint and its symbol, second waypoint and its symbol.
namespace route_field {
inline constexpr int kRecordNumber = 3;
inline constexpr int kName = 6;
inline constexpr int kFirstWaypoint = 7;
inline constexpr int kSecondWaypoint = 9;
inline constexpr int kLast = 10;
}  // namespace route_field

// Altitudes as written: waypoint files carry none, the waypoints of a route file -5 m.
inline constexpr std::string_view kWaypointAltitude = "0000000";
inline constexpr std::string_view kRouteWaypointAltitude = "-000005";
// "未命名" ("unnamed") in GBK: the name of a route whose MID row is missing.
inline constexpr std::string_view kUnnamedGbk = "\xCE\xB4\xC3\xFC\xC3\xFB";

}  // namespace carteloom
