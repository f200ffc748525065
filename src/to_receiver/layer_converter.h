#pragma once
// A MIF layer to receiver files: its points into waypoints, its lines into
// routes, named by the MID rows.
#include "files/output_file.h"
#include "mif/mid_reader.h"
#include "mif/mif_scanner.h"
#include "receiver/writers.h"

namespace carteloom {

// Converts the layer: its points into waypoints when waypoints is given,
// its lines into routes when routes is given, telling progress how far into
// the MIF and MID it is. False when a further waypoint file could not be had.
bool ConvertMifLayer(MifScanner& objects, MidReader& names, WaypointFiles* waypoints, OutputFile* routes,
                     ReadProgress* progress = nullptr);

}  // namespace carteloom
