#include "formats/number_text.h"
#include "to_receiver/converters.h"
#include "to_receiver/receiver_sentences.h"

namespace carteloom {

bool WaypointWriter::Write(const LayerObject& object) {
  constexpr int kFileSize = 500;
  char generated[kMaxGeneratedName];
  for (std::size_t member = 0; member < object.points.size(); ++member) {
    ++sequence_;
    ++counter_;
    ui_.SetProgressValue(kFileSize - counter_);
    // The split comes before the 500th point is written and starts the count
    // at 0, so the first file holds 499.
    if (counter_ == kFileSize) {
      ui_.SetProgressValue(0);
      counter_ = 0;
      if (!files_.StartNext()) return false;
    }
    std::string_view name;
    if (object.named) {
      name_.assign(object.name);
      MakeSentenceSafe(name_);
      if (member > 0) name_.append("_").append(IntegerText(static_cast<std::int64_t>(member + 1)));
      name = name_;
    } else {
      name = std::string_view(generated, PutGeneratedWaypointName(generated, sequence_) - generated);
    }
    WriteWaypointSentence(files_.Current(), object.points[member], kWaypointAltitude, name);
  }
  return true;
}

}  // namespace carteloom
