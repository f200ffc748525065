#include "receiver/route_file.h"

#include <algorithm>

namespace carteloom {
namespace {

// Routes from the route records, field by field in file order.
class RouteCollector {
 public:
  explicit RouteCollector(std::vector<Route>& routes) : routes_(routes) {}

  void Take(const ReceiverRecord& record) {
    for (int number = 1; number <= record.fieldCount && number <= route_field::kLast; ++number) {
      const std::string_view field = record.Field(number);
      if (record.kind == RecordKind::Route) TakeRouteField(number, field);
      if (field == kCommandTag) Close();
    }
  }
  // A file without its end record still ends its last route.
  void Close() {
    if (!open_) return;
    routes_.push_back(std::move(current_));
    open_ = false;
  }

 private:
  void TakeRouteField(int number, std::string_view field) {
    using namespace route_field;
    // Every route numbers its records from 1, also the next one of the same name.
    if (number == kRecordNumber && field == "1") Close();
    if (number == kName) {
      // Records of one route repeat its name; another name starts the next route.
      if (open_ && field != current_.name) Close();
      if (!open_) {
        current_ = Route{std::string(field)};
        open_ = true;
      }
    }
    if (open_ && (number == kFirstWaypoint || number == kSecondWaypoint) && !field.empty()) ++current_.waypointCount;
  }

  std::vector<Route>& routes_;
  Route current_;
  bool open_ = false;
};

}  // namespace

RouteFile ReadRouteFile(FieldReader& source, RouteFileListener* listener) {
  RouteFile file;
  RouteCollector routes(file.routes);
  RecordReader records(source, route_field::kLast, true, kAllFields);
  ReceiverRecord record;
  while (records.Next(record)) {
    if (listener != nullptr && IsDamaged(record, route_field::kLast)) listener->Damaged(record);
    if (record.kind == RecordKind::Waypoint && record.position) {
      file.waypoints.push_back(*record.position);
      if (listener != nullptr) listener->Waypoint(record);
    }
    routes.Take(record);
  }
  routes.Close();
  std::size_t offset = 0;
  for (Route& route : file.routes) {
    route.first = std::min(offset, file.waypoints.size());
    route.last = std::min(offset + route.waypointCount, file.waypoints.size());
    offset += route.waypointCount;
  }
  return file;
}

}  // namespace carteloom
