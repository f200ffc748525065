// PLACEHOLDER until the MIF-to-receiver batch lands: replace this file.
#include "to_receiver/to_receiver_batch.h"

namespace carteloom {
BatchResult RunToReceiverBatch(BatchUi& ui, const std::string&) {
  ui.ShowMessage("to-receiver: not built yet", kProgramTitle);
  return {ui.SourceCount(), 0};
}
}  // namespace carteloom
