#include "receiver/writers.h"

#include "files/number_text.h"
#include "files/paths.h"
#include "receiver/receiver_sentences.h"

namespace carteloom {

std::string PartName(std::string_view base, std::size_t part) {
  if (part <= 1) return std::string(base);
  return std::string(Trimmed(base)) + IntegerText(static_cast<std::int64_t>(part));
}

bool WaypointWriter::Write(const LayerObject& object) {
  constexpr int kFileSize = 500;
  if (!object.continued) membersBefore_ = 0;
  for (std::size_t i = 0; i < object.points.size(); ++i) {
    const std::uint64_t member = membersBefore_ + i;
    ++sequence_;
    ++counter_;
    // The split comes before the 500th point is written and starts the count
    // at 0, so the first file holds 499.
    if (counter_ == kFileSize) {
      counter_ = 0;
      if (!files_.StartNext()) return false;
    }
    char height[8];
    const std::string_view altitude =
        i < object.pointHeights.size() ? AltitudeText(object.pointHeights[i], kWaypointAltitude, height)
                                       : kWaypointAltitude;
    WriteWaypointSentence(files_.Current(), object.points[i], altitude, [&](Sentence& name) {
      if (!object.named) {
        GeneratedName(name, sequence_);
      } else {
        name.Name(object.name);
        if (member > 0) name.Text("_").Number(member + 1);
      }
    });
  }
  membersBefore_ += object.points.size();
  return true;
}

}  // namespace carteloom
