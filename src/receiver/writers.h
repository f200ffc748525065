#pragma once
// Waypoint and route files written from the objects of a layer, whatever
// reads the layer (a MIF file, a GDAL layer). Each object comes with its
// name; its points go to the waypoint files, its lines to the route file.
// The caller opens, commits or discards every file.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "files/output_file.h"
#include "files/position.h"
#include "receiver/route_list.h"

namespace carteloom {

// One object of a layer, or one piece of a long one; its views hold while
// it is being written.
struct LayerObject {
  std::span<const Position> points;          // each becomes a waypoint
  std::span<const Position> vertices;        // of its line sections, in order
  std::span<const std::size_t> sectionEnds;  // the end of each section that ends in this piece, into vertices
  bool continued = false;                    // carries on the object of the piece before
  bool named = false;                        // false when the object has no name
  std::string_view name;                     // in GBK
  // Heights in metres of the points and of the vertices, each empty or one per
  // point or vertex; NaN or empty: the altitude files of their kind carry.
  std::span<const double> pointHeights;
  std::span<const double> vertexHeights;
};

// A coordinate that a receiver file cannot hold: a longitude outside
// -180..180 or a latitude outside -90..90 (NaN among them). It comes from a
// layer in another coordinate system than it claims, metres most often.
struct OutOfRange {
  bool longitude;
  double value;
};
inline std::optional<OutOfRange> FirstOutOfRange(std::span<const Position> positions) {
  for (const Position& p : positions) {
    if (!(std::fabs(p.longitude) <= 180)) return OutOfRange{true, p.longitude};
    if (!(std::fabs(p.latitude) <= 90)) return OutOfRange{false, p.latitude};
  }
  return std::nullopt;
}

// The waypoint files of one layer: BASE.upt, then BASE2.upt, BASE3.upt ...
// The first is open before the writing starts; each further one is asked
// for when a point is there to go into it.
class WaypointFiles {
 public:
  virtual ~WaypointFiles() = default;
  virtual OutputFile& Current() = 0;
  // Finishes the current file and opens the next; false when the user
  // ended the batch or left the entry instead of settling its name.
  virtual bool StartNext() = 0;
};

// The base name of waypoint file `part` (from 1) of a layer whose first file
// is named base: base itself, then base without its outer blanks + 2, 3 ...
std::string PartName(std::string_view base, std::size_t part);

// One waypoint per point, named by its object's name; the further points
// of one object get "_2", "_3" ... after the name. An object without a name
// gives "WPT" + the point's number in the layer. The first file takes 499
// waypoints, every further one up to 500.
class WaypointWriter {
 public:
  explicit WaypointWriter(WaypointFiles& files) : files_(files) {}
  // False when a further file could not be had.
  bool Write(const LayerObject& object);

 private:
  WaypointFiles& files_;
  int counter_ = 0;                  // waypoints since the last split
  std::uint64_t sequence_ = 0;       // of the point in the layer
  std::uint64_t membersBefore_ = 0;  // points of the object in the pieces before
};

// One waypoint per vertex and one route per line section, named by its
// object's name ("未命名" without one); the route sentences and the end
// sentence follow all waypoints.
class RouteWriter {
 public:
  // routesHeld: bytes of the route list kept in memory before it goes on in a scratch file.
  explicit RouteWriter(OutputFile& out, std::size_t routesHeld = RouteList::kHeldBytes)
      : out_(out), routes_(out.Target(), routesHeld) {}
  void Write(const LayerObject& object);
  void Finish();

 private:
  OutputFile& out_;
  RouteList routes_;
  std::uint64_t openVertices_ = 0;  // of a section that goes on in the next piece
};

}  // namespace carteloom
