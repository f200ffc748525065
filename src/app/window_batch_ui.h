#pragma once
// The batches' user interface in the window: Qt's modal boxes, the source
// list of the batch's direction and the progress bar. Between files and
// progress steps the window repaints; user input stays with the batch's
// own boxes.
#include <QElapsedTimer>

#include "app/desktop.h"
#include "formats/batch_ui.h"

class QProgressBar;
class QWidget;

namespace carteloom {

class SourceList;

class WindowBatchUi : public BatchUi {
 public:
  WindowBatchUi(QWidget& window, SourceList& sources, QProgressBar& progress, const Desktop& desktop);

  void ShowMessage(const std::string& text, const std::string& title) override;
  OverwriteAnswer AskOverwrite(const std::string& text, const std::string& title) override;
  std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                     const std::string& proposal) override;

  std::size_t SourceCount() const override;
  std::string SourceAt(std::size_t index) const override;
  void RemoveSourceAt(std::size_t index) override;

  void ShowProgress(std::uint64_t done, std::uint64_t total) override;
  void BetweenFiles() override;

  // Puts the latest progress value on the bar.
  void ShowBar();

 private:
  void Repaint();

  QWidget& window_;
  SourceList& sources_;
  QProgressBar& progress_;
  const Desktop& desktop_;
  int value_;
  QElapsedTimer sinceRepaint_;
};

}  // namespace carteloom
