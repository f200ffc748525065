#pragma once
// The batches' user interface on the window's thread: Qt's modal boxes, the
// source list of the batch's direction and the progress bar. Messages about
// one file name it; consecutive ones with the same text share one box that
// lists the files. Such a box is held back only while the output folder is
// missing, when no file can be converted: otherwise it shows before the batch
// takes the next file. A batch that ends early says which files it did not
// convert. Once a stop is requested nothing more is shown or asked.
#include <optional>
#include <string>
#include <vector>

#include "app/desktop.h"
#include "batch/batch_ui.h"

class QProgressBar;
class QWidget;

namespace carteloom {

class SourceList;

class WindowBatchUi : public BatchUi {
 public:
  WindowBatchUi(QWidget& window, SourceList& sources, QProgressBar& progress, const Desktop& desktop,
                QString outputFolder);

  void ShowMessage(const std::string& text, const std::string& title) override;
  void ShowFileMessage(const std::string& path, const std::string& text, const std::string& title) override;
  void ShowSummary(const std::string& text, const std::string& title) override;
  OverwriteAnswer AskOverwrite(const std::string& text, const std::string& title) override;
  std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                     const std::string& proposal) override;

  std::size_t SourceCount() const override;
  std::string SourceAt(std::size_t index) const override;
  void RemoveSourceAt(std::size_t index) override;

  void ShowProgress(std::uint64_t done, std::uint64_t total) override;
  void BetweenFiles() override;
  void EntryFinished(const EntryReport& report) override;

  // The batch is over: shows the files' messages still gathered, and when
  // it ended early, the files it did not convert.
  void Finish(const BatchResult& result);

 private:
  // Consecutive messages about files with one text and title.
  struct FileMessages {
    std::string text;
    std::string title;
    std::vector<std::string> paths;
  };

  void ShowGathered();

  QWidget& window_;
  SourceList& sources_;
  QProgressBar& progress_;
  const Desktop& desktop_;
  QString outputFolder_;
  std::optional<FileMessages> gathered_;
  std::vector<std::string> notConverted_;
};

// Each path on a line of its own, as many as a box can show, then how many more there are.
QString PathLines(const std::vector<std::string>& paths);
// The text of a box about files: their paths, then the text.
QString FileMessageText(const std::vector<std::string>& paths, const std::string& text);

}  // namespace carteloom
