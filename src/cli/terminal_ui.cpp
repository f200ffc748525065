#include "cli/terminal_ui.h"

#include <ostream>
#include <utility>

#include "batch/entry_report.h"

namespace carteloom {

TerminalUi::TerminalUi(std::vector<std::string> sources, const TerminalOptions& options, std::ostream& out,
                       std::ostream& err)
    : sources_(std::move(sources)),
      options_(options),
      out_(out),
      err_(err),
      progress_(err, options.progress && !options.quiet, !options.progressAtOnce) {}

std::ostream& TerminalUi::Err() {
  progress_.Break();
  return err_;
}

std::ostream& TerminalUi::Out() {
  if (options_.outBesideErr) progress_.Break();
  return out_;
}

void TerminalUi::ShowMessage(const std::string& text, const std::string&) {
  Err() << ShownText(text, options_.errPaths) << '\n' << std::flush;
}

void TerminalUi::ShowFileMessage(const std::string& path, const std::string& text, const std::string&) {
  Err() << ErrPath(path) << ": " << ShownText(text, options_.errPaths) << '\n' << std::flush;
}

void TerminalUi::ShowSummary(const std::string& text, const std::string&) {
  if (!options_.quiet) Out() << ShownText(text, options_.outPaths) << '\n' << std::flush;
}

void TerminalUi::OutputRenamed(const std::string& proposedPath, const std::string& path) {
  if (!options_.quiet) Err() << ErrPath(proposedPath) << " 已存在，输出改名为 " << ErrPath(path) << '\n' << std::flush;
}

void TerminalUi::EntryFinished(const EntryReport& report) {
  if (!report.whyNot.empty()) notConverted_.push_back(report.source);
  // A prompt that met the end of input answered nothing: say what became of the file.
  if (std::exchange(inputEnded_, false) && !report.whyNot.empty())
    Err() << ErrPath(report.source) << ": " << ShownText(report.whyNot, options_.errPaths) << '\n' << std::flush;
  if (!options_.verbose || options_.quiet) return;
  Out() << ShownPath(report.source, options_.outPaths);
  if (report.whyNot.empty()) {
    for (std::size_t i = 0; i < report.outputs.size(); ++i)
      out_ << (i == 0 ? " -> " : ", ") << ShownPath(report.outputs[i], options_.outPaths);
  } else {
    out_ << ": " << ShownText(report.whyNot, options_.outPaths);
  }
  out_ << '\n' << std::flush;
}

void TerminalUi::Finish(const BatchResult& result) {
  progress_.Break();
  if (!result.endedEarly || result.stopped || notConverted_.empty()) return;
  Err() << ShownText(EarlyEndText(notConverted_, kAllFiles), options_.errPaths) << '\n' << std::flush;
}

OverwriteAnswer TerminalUi::AskOverwrite(const std::string& text, const std::string&) {
  const std::string question = ShownText(text, options_.errPaths);
  switch (options_.onExist) {
    case OnExist::Overwrite: return OverwriteAnswer::Overwrite;
    case OnExist::Rename: return OverwriteAnswer::Rename;
    case OnExist::Fail:
      Err() << question << " 否（--on-exist=fail：文件没有转换）\n" << std::flush;
      return OverwriteAnswer::Skip;
    case OnExist::Ask: break;
  }
  for (;;) {
    Err() << question << " [y=确定 / n=取消] " << std::flush;
    std::optional<std::string> line = ReadAnswerLine();
    if (!line) {
      err_ << '\n' << std::flush;
      inputEnded_ = true;
      return OverwriteAnswer::Skip;
    }
    if (*line == "y" || *line == "Y") return OverwriteAnswer::Overwrite;
    if (*line == "n" || *line == "N") return OverwriteAnswer::Rename;
  }
}

std::optional<std::string> TerminalUi::AskText(const std::string& prompt, const std::string& title,
                                               const std::string& proposal) {
  if (options_.onExist == OnExist::Rename) return proposal;
  if (options_.onExist != OnExist::Ask) return std::nullopt;
  // An empty line takes the proposal, as Enter does in an input box.
  Err() << ShownText(title, options_.errPaths) << ' ' << ShownText(prompt, options_.errPaths) << " ["
        << ErrPath(proposal) << "]: " << std::flush;
  std::optional<std::string> line = ReadAnswerLine();
  if (!line) {
    err_ << '\n' << std::flush;
    inputEnded_ = true;
    return std::nullopt;
  }
  return line->empty() ? proposal : *line;
}

std::string TerminalUi::SourceAt(std::size_t index) const {
  return index < sources_.size() ? sources_[index] : std::string();
}

void TerminalUi::RemoveSourceAt(std::size_t index) {
  if (index < sources_.size()) sources_.erase(sources_.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace carteloom
