#include "formats/sentence.h"
#include "to_receiver/converters.h"
#include "to_receiver/receiver_sentences.h"

namespace carteloom {

bool ConvertMifPoints(MifScanner& objects, MidReader& names, WaypointFiles& files, BatchUi& ui) {
  constexpr int kFileSize = 500;
  // Waypoints since the last split. The split comes before the 500th point
  // is written and starts the count at 0, so the first file holds 499.
  int counter = 0;
  std::uint64_t sequence = 0;
  MifObject object;
  std::string name;
  std::string safeName;
  std::string body;  // reused: no allocation per waypoint
  while (objects.Next(object)) {
    bool named = names.NextRow(name);  // every object owns a row, converted or not
    if (object.kind != MifObjectKind::Point) continue;
    ++sequence;
    ++counter;
    ui.SetProgressValue(kFileSize - counter);
    if (counter == kFileSize) {
      ui.SetProgressValue(0);
      counter = 0;
      if (!files.StartNext()) return false;
    }
    safeName = named ? SentenceSafeName(name) : GeneratedWaypointName(sequence);
    body.clear();
    AppendWaypointBody(body, object.vertices.front(), kWaypointAltitude, safeName);
    WriteSentence(files.Current(), body);
  }
  return true;
}

}  // namespace carteloom
