#include "to_receiver/converters.h"
#include "to_receiver/layer_objects.h"
#include "to_receiver/receiver_sentences.h"

namespace carteloom {

bool ConvertMifPoints(MifScanner& objects, MidReader& names, WaypointFiles& files, BatchUi& ui) {
  constexpr int kFileSize = 500;
  // Waypoints since the last split. The split comes before the 500th point
  // is written and starts the count at 0, so the first file holds 499.
  int counter = 0;
  std::uint64_t sequence = 0;
  LayerObjects layer(objects, names);
  LayerObject object;
  std::string name;  // reused: no allocation per waypoint
  char generated[kMaxGeneratedName];
  while (layer.Next(object)) {
    if (object.kind != MifObjectKind::Point) continue;
    ++sequence;
    ++counter;
    ui.SetProgressValue(kFileSize - counter);
    if (counter == kFileSize) {
      ui.SetProgressValue(0);
      counter = 0;
      if (!files.StartNext()) return false;
    }
    std::string_view safeName;
    if (object.named) {
      name.assign(object.name);
      MakeSentenceSafe(name);
      safeName = name;
    } else {
      safeName = std::string_view(generated, PutGeneratedWaypointName(generated, sequence) - generated);
    }
    WriteWaypointSentence(files.Current(), object.vertices.front(), kWaypointAltitude, safeName);
  }
  return true;
}

}  // namespace carteloom
