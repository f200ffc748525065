// Route files: one Pline per route. The route records only count the
// waypoints of each route; its shape is the next that many waypoint records
// of the file, so the whole file is read before anything is drawn.
#include <algorithm>
#include <vector>

#include "formats/number_text.h"
#include "to_mif/converters.h"
#include "to_mif/record_fields.h"

namespace carteloom {
namespace {

struct Route {
  std::string name;
  std::size_t waypointCount = 0;  // waypoint names its records hold
};

struct RouteFile {
  std::vector<Position> positions;  // waypoint records, in file order
  std::vector<Route> routes;        // in the order they were closed
};

// The read pass: positions from the waypoint records, routes from the route records.
class RouteFileReader {
 public:
  void Take(std::string_view field) {
    if (walker_.Take(field)) FinishPosition();
    switch (walker_.Kind()) {
      case RecordKind::Waypoint:
        if (auto p = position_.Take(walker_.Number(), field)) file_.positions.push_back(*p);
        break;
      case RecordKind::Route: TakeRouteField(field); break;
      case RecordKind::Format: break;
    }
    if (field == kCommandTag) CloseRoute();
  }

  RouteFile Finish() {
    FinishPosition();
    CloseRoute();  // a file without its end record still ends its last route
    return std::move(file_);
  }

 private:
  void TakeRouteField(std::string_view field) {
    using namespace route_field;
    const int number = walker_.Number();
    // Every route numbers its records from 1, also the next one of the same name.
    if (number == kRecordNumber && field == "1") CloseRoute();
    if (number == kName) {
      // Records of one route repeat its name; another name starts the next route.
      if (open_ && field != current_.name) CloseRoute();
      if (!open_) {
        current_ = Route{std::string(field), 0};
        open_ = true;
      }
    }
    if (open_ && (number == kFirstWaypoint || number == kSecondWaypoint) && !field.empty()) ++current_.waypointCount;
  }

  void CloseRoute() {
    if (!open_) return;
    file_.routes.push_back(std::move(current_));
    open_ = false;
  }

  void FinishPosition() {
    if (auto p = position_.Finish()) file_.positions.push_back(*p);
  }

  RouteFile file_;
  RecordWalker walker_{route_field::kLast, true};
  RecordPosition position_;
  Route current_;
  bool open_ = false;
};

// Route k runs through the waypoints after those of routes 1 to k - 1; a
// route that names more waypoints than the file holds gets those there are.
// GDAL refuses a Pline of fewer than two vertices, and with it the rest of
// the layer: one waypoint is drawn as a line to itself, none as no object.
void WriteRoutes(const RouteFile& file, MifOutputs out) {
  std::size_t offset = 0;
  for (const Route& route : file.routes) {
    std::size_t first = std::min(offset, file.positions.size());
    std::size_t last = std::min(offset + route.waypointCount, file.positions.size());
    offset += route.waypointCount;

    out.mid.WriteLine(MidValueText(route.name));
    if (first == last) {
      out.mif.WriteLine("None");
      continue;
    }
    const bool alone = last - first == 1;
    out.mif.WriteLine("Pline " + IntegerText(static_cast<std::int64_t>(alone ? 2 : last - first)));
    for (std::size_t q = first; q < last; ++q) {
      const Position& p = file.positions[q];
      for (int copy = alone ? 2 : 1; copy > 0; --copy) WriteCoordinateLine(out.mif, "", p.longitude, p.latitude, false);
    }
    out.mif.WriteLine("    Pen (2,2,0)");
  }
}

}  // namespace

void ConvertRouteFile(FieldReader& source, MifOutputs out) {
  WriteMifHeader(out.mif, out.charset);
  RouteFileReader reader;
  while (!source.AtEnd()) reader.Take(source.ReadField());
  WriteRoutes(reader.Finish(), out);
}

}  // namespace carteloom
