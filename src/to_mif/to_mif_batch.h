#pragma once
// Receiver files to MIF: works off the source list from the top, one MIF/MID
// pair per recognised file, into the output folder.
#include <string>

#include "batch/batch_ui.h"
#include "mif/mif_writing.h"

namespace carteloom {

struct ToMifOptions {
  std::string charset{kDefaultMifCharset};  // written in the MIF header's Charset clause
};

BatchResult RunToMifBatch(BatchUi& ui, const std::string& outputFolder, const ToMifOptions& options = {});

}  // namespace carteloom
