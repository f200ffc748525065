#include "to_receiver/layer_converter.h"

#include <optional>

#include "to_receiver/layer_objects.h"

namespace carteloom {

bool ConvertMifLayer(MifScanner& objects, MidReader& names, WaypointFiles* waypoints, OutputFile* routes,
                     ReadProgress* progress) {
  LayerObjects layer(objects, names, progress);
  std::optional<WaypointWriter> points;
  if (waypoints != nullptr) points.emplace(*waypoints);
  std::optional<RouteWriter> lines;
  if (routes != nullptr) lines.emplace(*routes);
  LayerObject object;
  while (layer.Next(object)) {
    if (points && !points->Write(object)) return false;
    if (lines) lines->Write(object);
  }
  if (lines) lines->Finish();
  return true;
}

}  // namespace carteloom
