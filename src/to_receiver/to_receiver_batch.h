#pragma once
// MIF to receiver files: works off the MIF source list from the top, one
// waypoint or route file per MIF/MID pair, into the output folder.
#include <string>

#include "batch/batch_ui.h"

namespace carteloom {

BatchResult RunToReceiverBatch(BatchUi& ui, const std::string& outputFolder);

}  // namespace carteloom
