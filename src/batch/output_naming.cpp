#include "batch/output_naming.h"

#include "files/file_routines.h"
#include "files/paths.h"
#include "files/stop_request.h"

namespace carteloom {

const OverwriteDialog kMifOverwriteDialog{"文件已存在，您是否要覆盖？", kMessageTitle, "文件重命名为",
                                          "请重新为文件命名！", false};
const OverwriteDialog kReceiverOverwriteDialog{" 已存在，是否覆盖？", "Message", "文件重命名为",
                                               "请输入一个新的文件名！", true};

namespace {

NamingResult RunDialogue(BatchUi& ui, const std::string& folder, const std::string& baseName,
                         const std::string& outputSuffix, const OverwriteDialog& dialog,
                         const std::set<std::string>& claimed) {
  auto isClaimed = [&claimed](const std::string& path) { return claimed.contains(ComparablePath(path)); };
  std::string path = InFolder(folder, baseName + outputSuffix);
  if (!isClaimed(path)) {
    if (!PathExists(path)) return {NamingOutcome::Settled, baseName, path};
    const OverwriteAnswer answer = ui.AskOverwrite(PathInText(path) + dialog.questionSuffix, dialog.questionTitle);
    StopPoint();
    switch (answer) {
      case OverwriteAnswer::Overwrite: return {NamingOutcome::Settled, baseName, path};
      case OverwriteAnswer::Skip: return {NamingOutcome::Skipped, {}, path};
      case OverwriteAnswer::Rename: break;
    }
  }

  // From here on the only way on is a new name under which nothing exists.
  std::string proposal = baseName + "_2";
  for (;;) {
    std::optional<std::string> typed = ui.AskText(dialog.renamePrompt, dialog.renameTitle, proposal);
    StopPoint();
    if (!typed) return {NamingOutcome::Skipped, {}, path};
    const std::string& answer = *typed;
    if (dialog.blankAnswerEndsBatch && Trimmed(answer).empty()) return {NamingOutcome::BatchEnded, {}, {}};
    if (!answer.empty() && !IsValidFileName(answer)) continue;  // same proposal again
    proposal = answer + "_2";
    const std::string typedPath = InFolder(folder, answer + outputSuffix);
    if (!answer.empty() && !PathExists(typedPath) && !isClaimed(typedPath))
      return {NamingOutcome::Settled, answer, typedPath};
  }
}

}  // namespace

NamingResult SettleOutputName(BatchUi& ui, const std::string& folder, const std::string& baseName,
                              const std::string& outputSuffix, const OverwriteDialog& dialog,
                              const std::set<std::string>& claimed) {
  NamingResult result = RunDialogue(ui, folder, baseName, outputSuffix, dialog, claimed);
  const std::string proposed = InFolder(folder, baseName + outputSuffix);
  if (result.outcome == NamingOutcome::Settled && result.path != proposed) ui.OutputRenamed(proposed, result.path);
  return result;
}

NamingResult ConfirmOutputName(BatchUi& ui, const std::string& sourcePath, const std::string& folder) {
  return SettleOutputName(ui, folder, BaseName(sourcePath), ".mif", kMifOverwriteDialog);
}

}  // namespace carteloom
