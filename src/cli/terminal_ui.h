#pragma once
// The batches' user interface on a terminal: messages on stderr, the summary
// and the -v lines on stdout, the overwrite dialogue answered by --on-exist
// or at a prompt, the progress line on stderr.
#include <iosfwd>
#include <string>
#include <vector>

#include "batch/batch_ui.h"
#include "cli/console.h"
#include "cli/progress_line.h"

namespace carteloom {

enum class OnExist { Ask, Overwrite, Rename, Fail };

struct TerminalOptions {
  OnExist onExist = OnExist::Fail;
  bool quiet = false;          // only what went wrong: no summary, no notices, no progress
  bool verbose = false;        // a line per given file on stdout
  bool progress = false;       // the progress line on stderr
  bool progressAtOnce = false; // from the start, not only for work longer than a second
  bool outBesideErr = false;    // stdout goes where stderr goes, beside the progress line
  PathDisplay outPaths = PathDisplay::Bytes;
  PathDisplay errPaths = PathDisplay::Bytes;
};

class TerminalUi : public BatchUi {
 public:
  TerminalUi(std::vector<std::string> sources, const TerminalOptions& options, std::ostream& out, std::ostream& err);

  void ShowMessage(const std::string& text, const std::string& title) override;
  void ShowFileMessage(const std::string& path, const std::string& text, const std::string& title) override;
  void ShowSummary(const std::string& text, const std::string& title) override;
  OverwriteAnswer AskOverwrite(const std::string& text, const std::string& title) override;
  std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                     const std::string& proposal) override;
  void OutputRenamed(const std::string& proposedPath, const std::string& path) override;

  std::size_t SourceCount() const override { return sources_.size(); }
  std::string SourceAt(std::size_t index) const override;
  void RemoveSourceAt(std::size_t index) override;
  void ShowProgress(std::uint64_t done, std::uint64_t total) override { progress_.Show(done, total); }
  void EntryFinished(const EntryReport& report) override;

  // After the batch: ends the progress line and, when the batch ended
  // early, names the given files that were not converted.
  void Finish(const BatchResult& result);

 private:
  std::ostream& Err();  // stderr, after any progress line was ended
  std::ostream& Out();  // stdout, likewise when both show on the terminal
  std::string ErrPath(const std::string& path) const { return ShownPath(path, options_.errPaths); }

  std::vector<std::string> sources_;
  TerminalOptions options_;
  std::ostream& out_;
  std::ostream& err_;
  ProgressLine progress_;
  std::vector<std::string> notConverted_;
  bool inputEnded_ = false;  // a prompt of the current entry met the end of input  // the given files, as the reports came
};

}  // namespace carteloom
