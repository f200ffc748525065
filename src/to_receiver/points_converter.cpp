#include "to_receiver/converters.h"
#include "to_receiver/receiver_sentences.h"

namespace carteloom {

bool WaypointWriter::Write(const LayerObject& object) {
  constexpr int kFileSize = 500;
  for (std::size_t member = 0; member < object.points.size(); ++member) {
    ++sequence_;
    ++counter_;
    // The split comes before the 500th point is written and starts the count
    // at 0, so the first file holds 499.
    if (counter_ == kFileSize) {
      counter_ = 0;
      if (!files_.StartNext()) return false;
    }
    WriteWaypointSentence(files_.Current(), object.points[member], kWaypointAltitude, [&](Sentence& name) {
      if (!object.named) {
        GeneratedName(name, sequence_);
      } else {
        name.Name(object.name);
        if (member > 0) name.Text("_").Number(member + 1);
      }
    });
  }
  return true;
}

}  // namespace carteloom
