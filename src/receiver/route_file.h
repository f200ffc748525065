#pragma once
// Route files as a whole: the route records only count the waypoints of
// each route; its shape is the next that many waypoint records of the file,
// so the whole file is read before a route can be drawn.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "receiver/field_reader.h"
#include "receiver/record_reader.h"

namespace carteloom {

struct Route {
  std::string name;
  std::size_t waypointCount = 0;  // waypoint names its records hold
  // The waypoints it is drawn through, [first, last) of RouteFile::waypoints:
  // those after the waypoints of the routes before it, as many as the file has.
  std::size_t first = 0, last = 0;
};

struct RouteFile {
  std::vector<Position> waypoints;  // of the waypoint records that have one, in file order
  std::vector<Route> routes;             // in the order they were closed
};

// What a reader beside the converter wants to know of the records.
class RouteFileListener {
 public:
  virtual ~RouteFileListener() = default;
  // A waypoint record that gives the next waypoint, with all its fields.
  virtual void Waypoint(const ReceiverRecord& record) = 0;
  // A damaged record (IsDamaged); a waypoint record without a position gives no waypoint.
  virtual void Damaged(const ReceiverRecord& record) = 0;
};

// Reads the whole file.
RouteFile ReadRouteFile(FieldReader& source, RouteFileListener* listener = nullptr);

}  // namespace carteloom
