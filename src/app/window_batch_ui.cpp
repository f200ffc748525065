#include "app/window_batch_ui.h"

#include <QCoreApplication>
#include <QFile>
#include <QProgressBar>

#include "app/source_list.h"
#include "app/text_bytes.h"

namespace carteloom {
namespace {

// A converter may step the bar once per point; drawing each step would cost
// more than the conversion, so the bar follows at most this often.
constexpr qint64 kRepaintMilliseconds = 40;

}  // namespace

WindowBatchUi::WindowBatchUi(QWidget& window, SourceList& sources, QProgressBar& progress, const Desktop& desktop)
    : window_(window), sources_(sources), progress_(progress), desktop_(desktop), value_(progress.value()) {
  sinceRepaint_.start();
}

void WindowBatchUi::ShowMessage(const std::string& text, const std::string& title) {
  ShowProgress();
  desktop_.message(&window_, ShownText(text), ShownText(title));
}

OverwriteAnswer WindowBatchUi::AskOverwrite(const std::string& text, const std::string& title) {
  ShowProgress();
  return desktop_.question(&window_, ShownText(text), ShownText(title)) ? OverwriteAnswer::Overwrite
                                                                        : OverwriteAnswer::Rename;
}

std::optional<std::string> WindowBatchUi::AskText(const std::string& prompt, const std::string& title,
                                                  const std::string& proposal) {
  ShowProgress();
  // The name typed becomes part of a file name, so it takes the file-name bytes.
  const QString typed = desktop_.input(&window_, ShownText(prompt), ShownText(title), PathText(proposal));
  return QFile::encodeName(typed).toStdString();
}

std::size_t WindowBatchUi::SourceCount() const { return sources_.Count(); }

std::string WindowBatchUi::SourceAt(std::size_t index) const { return sources_.EntryAt(index); }

void WindowBatchUi::RemoveSourceAt(std::size_t index) { sources_.RemoveAt(index); }

// The bar counts thousandths of the batch's input bytes.
void WindowBatchUi::ShowProgress(std::uint64_t done, std::uint64_t total) {
  progress_.setMaximum(1000);
  value_ = total == 0 ? 0 : static_cast<int>(done * 1000 / total);
  if (sinceRepaint_.elapsed() >= kRepaintMilliseconds || done == total || done == 0) Repaint();
}

void WindowBatchUi::BetweenFiles() { Repaint(); }

void WindowBatchUi::ShowBar() { progress_.setValue(value_); }

void WindowBatchUi::Repaint() {
  ShowBar();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  sinceRepaint_.restart();
}

}  // namespace carteloom
