#pragma once
// The user interface a batch on a thread of its own works with: every call
// that shows or asks something, or reads or changes the source list, is
// carried out by the window's side on the window's thread while the batch
// waits, so boxes come one at a time and in the batch's order. Progress
// goes without waiting, at most every few hundredths of a second, and
// always at its start and its end. The batch calls from its own thread only.
#include <QElapsedTimer>
#include <optional>
#include <utility>

#include "batch/batch_ui.h"

class QObject;

namespace carteloom {

class ForwardingBatchUi : public BatchUi {
 public:
  // windowSide is called on the thread of `context` only; both outlive the batch.
  ForwardingBatchUi(BatchUi& windowSide, QObject& context);

  void ShowMessage(const std::string& text, const std::string& title) override;
  void ShowFileMessage(const std::string& path, const std::string& text, const std::string& title) override;
  void ShowSummary(const std::string& text, const std::string& title) override;
  OverwriteAnswer AskOverwrite(const std::string& text, const std::string& title) override;
  std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                     const std::string& proposal) override;
  void OutputRenamed(const std::string& proposedPath, const std::string& path) override;

  std::size_t SourceCount() const override;
  std::string SourceAt(std::size_t index) const override;
  void RemoveSourceAt(std::size_t index) override;

  void ShowProgress(std::uint64_t done, std::uint64_t total) override;
  void EntryFinished(const EntryReport& report) override;
  void BetweenFiles() override;

 private:
  // Runs `call` on the window's thread and waits for its result.
  template <typename Call>
  auto OnWindowThread(Call call) const;
  // Sends the progress the window has not been shown yet.
  void SendProgress() const;

  BatchUi& windowSide_;
  QObject& context_;
  mutable std::optional<std::pair<std::uint64_t, std::uint64_t>> unsent_;
  mutable QElapsedTimer sinceSent_;
};

}  // namespace carteloom
