#pragma once
// Settling the name of an output in the chosen folder: when a file of that
// name exists, the user chooses between replacing it and another name.
#include <string>
#include <set>

#include "batch/batch_ui.h"

namespace carteloom {

// The texts and rules of one direction's overwrite dialogue.
struct OverwriteDialog {
  std::string questionSuffix;  // follows the full output path in the question
  std::string questionTitle;
  std::string renamePrompt;
  std::string renameTitle;
  // True: an answer that is blank once trimmed ends the batch.
  // False: an empty answer brings the input box back.
  bool blankAnswerEndsBatch;
};

// Receiver files to MIF: the MIF name is tested; the MID name follows it.
extern const OverwriteDialog kMifOverwriteDialog;
// MIF to receiver files: the receiver file's own name is tested.
extern const OverwriteDialog kReceiverOverwriteDialog;

enum class NamingOutcome { Settled, Skipped, BatchEnded };

struct NamingResult {
  NamingOutcome outcome;
  std::string baseName;  // when Settled: the final base name
  std::string path;      // and the output's path: folder, separator, base name, suffix
                         // (when Skipped: the existing file that was left alone)
  bool replaces = false;  // when Settled: the user chose to replace the file there
};

// Runs the dialogue for folder + separator + baseName + outputSuffix. A typed
// name that a file name cannot hold (a separator among it) is refused and
// the input box comes again, so output never lands outside the folder.
// claimed holds the paths the same conversion will still write (as
// ComparablePath gives them): one of them cannot be replaced, so it goes
// straight to the input box. A name other than the one proposed is told to
// ui.OutputRenamed.
NamingResult SettleOutputName(BatchUi& ui, const std::string& folder, const std::string& baseName,
                              const std::string& outputSuffix, const OverwriteDialog& dialog,
                              const std::set<std::string>& claimed = {});

// The receiver-to-MIF naming: the base name of the source, tested as a MIF file.
NamingResult ConfirmOutputName(BatchUi& ui, const std::string& sourcePath, const std::string& folder);

}  // namespace carteloom
