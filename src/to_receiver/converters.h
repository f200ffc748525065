#pragma once
// The MIF layer converter and its two writers. The layer's objects come in
// order with one MID row each; what they hold goes to the waypoint files
// (points) and to the route file (lines). The batch opens, commits or
// discards every file.
#include <cstdint>

#include "batch/batch_progress.h"
#include "mif/mid_reader.h"
#include "mif/mif_scanner.h"
#include "files/output_file.h"
#include "to_receiver/layer_objects.h"
#include "receiver/route_list.h"

namespace carteloom {

// The waypoint files of one layer: the first is open before the conversion
// starts; each further one (B2.upt, B3.upt ...) is asked for when a point
// is there to go into it.
class WaypointFiles {
 public:
  virtual ~WaypointFiles() = default;
  virtual OutputFile& Current() = 0;
  // Finishes the current file and opens the next; false when the user
  // ended the batch or left the entry instead of settling its name.
  virtual bool StartNext() = 0;
};

// One waypoint per point, named by its object's MID row; the further points
// of one object get "_2", "_3" ... after the name. Once the rows run out,
// "WPT" + the point's number in the layer. The first file takes 499
// waypoints, every further one up to 500.
class WaypointWriter {
 public:
  explicit WaypointWriter(WaypointFiles& files) : files_(files) {}
  // False when a further file could not be had.
  bool Write(const LayerObject& object);

 private:
  WaypointFiles& files_;
  int counter_ = 0;  // waypoints since the last split
  std::uint64_t sequence_ = 0;  // of the point in the layer
  std::uint64_t membersBefore_ = 0;  // points of the object in the pieces before
};

// One waypoint per vertex and one route per line section, named by its
// object's MID row ("未命名" once the rows run out); the route sentences
// and the end sentence follow all waypoints.
class RouteWriter {
 public:
  // routesHeld: bytes of the route list kept in memory before it goes on in a scratch file.
  explicit RouteWriter(OutputFile& out, std::size_t routesHeld = RouteList::kHeldBytes)
      : out_(out), routes_(out.Target(), routesHeld) {}
  void Write(const LayerObject& object);
  void Finish();

 private:
  OutputFile& out_;
  RouteList routes_;  // the names as the MID rows hold them
  std::uint64_t openVertices_ = 0;  // of a section that goes on in the next piece
};

// Converts the layer: its points into waypoints when waypoints is given,
// its lines into routes when routes is given, telling progress how far into
// the MIF and MID it is. False when a further waypoint file could not be had.
bool ConvertMifLayer(MifScanner& objects, MidReader& names, WaypointFiles* waypoints, OutputFile* routes,
                     ReadProgress* progress = nullptr);

}  // namespace carteloom
