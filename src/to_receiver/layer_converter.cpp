#include <optional>

#include "to_receiver/converters.h"

namespace carteloom {

bool ConvertMifLayer(MifScanner& objects, MidReader& names, WaypointFiles* waypoints, OutputFile* routes,
                     BatchUi& ui) {
  LayerObjects layer(objects, names);
  std::optional<WaypointWriter> points;
  if (waypoints != nullptr) points.emplace(*waypoints, ui);
  std::optional<RouteWriter> lines;
  if (routes != nullptr) lines.emplace(*routes, ui, waypoints == nullptr);
  LayerObject object;
  while (layer.Next(object)) {
    if (points && !points->Write(object)) return false;
    if (lines) lines->Write(object);
  }
  if (lines) lines->Finish();
  return true;
}

}  // namespace carteloom
