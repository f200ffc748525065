// Route files: one Pline per route, drawn as ReadRouteFile lays it out.

#include "files/number_text.h"
#include "receiver/route_file.h"
#include "to_mif/converters.h"

namespace carteloom {
namespace {

// GDAL refuses a Pline of fewer than two vertices, and with it the rest of
// the layer: one waypoint is drawn as a line to itself, none as no object.
void WriteRoutes(const RouteFile& file, MifOutputs out) {
  for (const Route& route : file.routes) {
    const std::size_t first = route.first, last = route.last;
    out.mid.WriteLine(MidValueText(route.name));
    if (first == last) {
      out.mif.WriteLine("None");
      continue;
    }
    const bool alone = last - first == 1;
    out.mif.WriteLine("Pline " + IntegerText(static_cast<std::int64_t>(alone ? 2 : last - first)));
    for (std::size_t q = first; q < last; ++q) {
      const Position& p = file.waypoints[q];
      for (int copy = alone ? 2 : 1; copy > 0; --copy) WriteCoordinateLine(out.mif, "", p.longitude, p.latitude, false);
    }
    out.mif.WriteLine("    Pen (2,2,0)");
  }
}

}  // namespace

void ConvertRouteFile(FieldReader& source, MifOutputs out) {
  WriteMifHeader(out.mif, out.charset);
  const RouteFile file = ReadRouteFile(source);
  source.ReportProgress();
  WriteRoutes(file, out);
}

}  // namespace carteloom
