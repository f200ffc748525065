#include "app/forwarding_batch_ui.h"

#include <QMetaObject>
#include <QObject>
#include <type_traits>

namespace carteloom {
namespace {

// Often enough for a bar that moves smoothly, rarely enough to cost nothing.
constexpr qint64 kProgressMilliseconds = 25;

}  // namespace

ForwardingBatchUi::ForwardingBatchUi(BatchUi& windowSide, QObject& context)
    : windowSide_(windowSide), context_(context) {
  sinceSent_.start();
}

template <typename Call>
auto ForwardingBatchUi::OnWindowThread(Call call) const {
  // The bar first: a box shows the progress made up to it.
  SendProgress();
  using Result = std::invoke_result_t<Call>;
  if constexpr (std::is_void_v<Result>) {
    QMetaObject::invokeMethod(&context_, call, Qt::BlockingQueuedConnection);
  } else {
    Result result{};
    QMetaObject::invokeMethod(
        &context_, [&result, &call] { result = call(); }, Qt::BlockingQueuedConnection);
    return result;
  }
}

void ForwardingBatchUi::ShowMessage(const std::string& text, const std::string& title) {
  OnWindowThread([&] { windowSide_.ShowMessage(text, title); });
}

void ForwardingBatchUi::ShowFileMessage(const std::string& path, const std::string& text, const std::string& title) {
  OnWindowThread([&] { windowSide_.ShowFileMessage(path, text, title); });
}

void ForwardingBatchUi::ShowSummary(const std::string& text, const std::string& title) {
  OnWindowThread([&] { windowSide_.ShowSummary(text, title); });
}

OverwriteAnswer ForwardingBatchUi::AskOverwrite(const std::string& text, const std::string& title) {
  return OnWindowThread([&] { return windowSide_.AskOverwrite(text, title); });
}

std::optional<std::string> ForwardingBatchUi::AskText(const std::string& prompt, const std::string& title,
                                                      const std::string& proposal) {
  return OnWindowThread([&] { return windowSide_.AskText(prompt, title, proposal); });
}

void ForwardingBatchUi::OutputRenamed(const std::string& proposedPath, const std::string& path) {
  OnWindowThread([&] { windowSide_.OutputRenamed(proposedPath, path); });
}

std::size_t ForwardingBatchUi::SourceCount() const {
  return OnWindowThread([&] { return windowSide_.SourceCount(); });
}

std::string ForwardingBatchUi::SourceAt(std::size_t index) const {
  return OnWindowThread([&] { return windowSide_.SourceAt(index); });
}

void ForwardingBatchUi::RemoveSourceAt(std::size_t index) {
  OnWindowThread([&] { windowSide_.RemoveSourceAt(index); });
}

void ForwardingBatchUi::EntryFinished(const EntryReport& report) {
  OnWindowThread([&] { windowSide_.EntryFinished(report); });
}

void ForwardingBatchUi::BetweenFiles() {
  // The batch waits for a box held back about the file before.
  OnWindowThread([&] { windowSide_.BetweenFiles(); });
}

void ForwardingBatchUi::ShowProgress(std::uint64_t done, std::uint64_t total) {
  unsent_.emplace(done, total);
  // The start, the end and the return to empty are never left out.
  if (done == 0 || done == total || sinceSent_.elapsed() >= kProgressMilliseconds) SendProgress();
}

void ForwardingBatchUi::SendProgress() const {
  if (!unsent_) return;
  const auto [done, total] = *unsent_;
  unsent_.reset();
  BatchUi* windowSide = &windowSide_;
  QMetaObject::invokeMethod(
      &context_, [windowSide, done, total] { windowSide->ShowProgress(done, total); }, Qt::QueuedConnection);
  sinceSent_.restart();
}

}  // namespace carteloom
