#include "app/window_batch_ui.h"

#include <QFile>
#include <QFileInfo>
#include <QProgressBar>

#include "app/source_list.h"
#include "app/text_bytes.h"
#include "batch/entry_report.h"
#include "files/stop_request.h"

namespace carteloom {
namespace {

// The bar counts thousandths of the batch's input bytes.
constexpr int kBarSteps = 1000;
// While its box is up a batch can still be stopped: by 取消, or by closing
// the window (everything else is disabled while a batch runs).
constexpr bool kWindowUsable = true;

}  // namespace

QString PathLines(const std::vector<std::string>& paths) {
  QStringList lines;
  const std::size_t listed = std::min(paths.size(), kFilesListedInABox);
  for (std::size_t i = 0; i < listed; ++i) lines << PathText(paths[i]);
  if (paths.size() > listed) lines << QString::fromUtf8("……另有 %1 个文件").arg(paths.size() - listed);
  return lines.join('\n');
}

QString FileMessageText(const std::vector<std::string>& paths, const std::string& text) {
  return PathLines(paths) + '\n' + ShownText(text);
}

WindowBatchUi::WindowBatchUi(QWidget& window, SourceList& sources, QProgressBar& progress, const Desktop& desktop,
                             QString outputFolder)
    : window_(window),
      sources_(sources),
      progress_(progress),
      desktop_(desktop),
      outputFolder_(std::move(outputFolder)) {}

void WindowBatchUi::ShowMessage(const std::string& text, const std::string& title) {
  ShowGathered();
  if (!StopRequested()) desktop_.message(&window_, kWindowUsable, ShownText(text), ShownText(title));
}

void WindowBatchUi::ShowFileMessage(const std::string& path, const std::string& text, const std::string& title) {
  if (gathered_ && (gathered_->text != text || gathered_->title != title)) ShowGathered();
  if (!gathered_) gathered_ = FileMessages{text, title, {}};
  gathered_->paths.push_back(path);
}

void WindowBatchUi::ShowSummary(const std::string& text, const std::string& title) { ShowMessage(text, title); }

OverwriteAnswer WindowBatchUi::AskOverwrite(const std::string& text, const std::string& title) {
  ShowGathered();
  // The batch stops right after the answer; Rename writes nothing meanwhile.
  if (StopRequested()) return OverwriteAnswer::Rename;
  return desktop_.question(&window_, kWindowUsable, ShownText(text), ShownText(title)) ? OverwriteAnswer::Overwrite
                                                                                       : OverwriteAnswer::Rename;
}

std::optional<std::string> WindowBatchUi::AskText(const std::string& prompt, const std::string& title,
                                                  const std::string& proposal) {
  ShowGathered();
  if (StopRequested()) return std::nullopt;
  // The name typed becomes part of a file name, so it takes the file-name bytes.
  const QString typed =
      desktop_.input(&window_, kWindowUsable, ShownText(prompt), ShownText(title), PathText(proposal));
  return QFile::encodeName(typed).toStdString();
}

std::size_t WindowBatchUi::SourceCount() const { return sources_.Count(); }

std::string WindowBatchUi::SourceAt(std::size_t index) const { return sources_.EntryAt(index); }

void WindowBatchUi::RemoveSourceAt(std::size_t index) { sources_.RemoveAt(index); }

void WindowBatchUi::ShowProgress(std::uint64_t done, std::uint64_t total) {
  progress_.setRange(0, kBarSteps);
  if (total == 0 || done >= total) {
    progress_.setValue(total == 0 ? 0 : kBarSteps);
    return;
  }
  // In floating point, so that no size overflows; full only when all is done.
  const double share = static_cast<double>(done) / static_cast<double>(total);
  progress_.setValue(std::min(static_cast<int>(share * kBarSteps), kBarSteps - 1));
}

void WindowBatchUi::BetweenFiles() {
  // Without its output folder the next file fails before anything is written,
  // most likely for the same reason, so its message may join the box.
  if (QFileInfo(outputFolder_).isDir()) ShowGathered();
}

void WindowBatchUi::EntryFinished(const EntryReport& report) {
  if (!report.whyNot.empty()) notConverted_.push_back(report.source);
}

void WindowBatchUi::Finish(const BatchResult& result) {
  ShowGathered();
  // After the box that ended the batch, as the command line lists them.
  if (result.endedEarly && !notConverted_.empty() && !StopRequested())
    desktop_.message(&window_, kWindowUsable, ShownText(EarlyEndText(notConverted_, kFilesListedInABox)),
                     ShownText(kMessageTitle));
}

void WindowBatchUi::ShowGathered() {
  if (!gathered_) return;
  const FileMessages messages = std::move(*gathered_);
  gathered_.reset();
  if (!StopRequested())
    desktop_.message(&window_, kWindowUsable, FileMessageText(messages.paths, messages.text),
                     ShownText(messages.title));
}

}  // namespace carteloom
