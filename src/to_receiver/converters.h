#pragma once
// The two MIF-layer converters. Each takes the layer's objects in order with
// one MID row per object, writes its sentences and moves the progress bar
// (maximum 500, set by the batch). The batch opens, commits or discards
// every file.
#include "formats/batch_ui.h"
#include "formats/mid_reader.h"
#include "formats/mif_reader.h"
#include "formats/output_file.h"

namespace carteloom {

// The waypoint files of one point layer: the first is open before the
// conversion starts; each further one (B2.upt, B3.upt ...) is asked for when
// a point is there to go into it.
class WaypointFiles {
 public:
  virtual ~WaypointFiles() = default;
  virtual OutputFile& Current() = 0;
  // Completes the current file and opens the next; false when the user
  // ended the batch or left the entry instead of settling its name.
  virtual bool StartNext() = 0;
};

// ".upt": one waypoint per Point object, named by its MID row, or
// "WPT" + its number in the layer once the rows run out. The first file
// takes 499 waypoints, every further one up to 500. False when a further
// file could not be had.
bool ConvertMifPoints(MifScanner& objects, MidReader& names, WaypointFiles& files, BatchUi& ui);

// ".rte": one waypoint per vertex and one route per polyline section,
// named by the object's MID row ("未命名" once the rows run out), then the
// end sentence.
void ConvertMifPolylines(MifScanner& objects, MidReader& names, OutputFile& out, BatchUi& ui);

}  // namespace carteloom
