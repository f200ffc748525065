#include "cli/terminal_ui.h"

#include <istream>
#include <ostream>

namespace carteloom {

TerminalUi::TerminalUi(std::vector<std::string> sources, OnExist onExist, std::istream& in, std::ostream& out,
                       std::ostream& err)
    : sources_(std::move(sources)), onExist_(onExist), in_(in), out_(out), err_(err) {}

void TerminalUi::ShowMessage(const std::string& text, const std::string&) { err_ << text << '\n' << std::flush; }

void TerminalUi::ShowSummary(const std::string& text, const std::string&) { out_ << text << '\n' << std::flush; }

OverwriteAnswer TerminalUi::AskOverwrite(const std::string& text, const std::string&) {
  switch (onExist_) {
    case OnExist::Overwrite: return OverwriteAnswer::Overwrite;
    case OnExist::Rename: return OverwriteAnswer::Rename;
    case OnExist::Fail:
      err_ << text << " 否（--on-exist=fail：文件没有转换）\n" << std::flush;
      return OverwriteAnswer::Skip;
    case OnExist::Ask: break;
  }
  for (;;) {
    err_ << text << " [y=确定 / n=取消] " << std::flush;
    std::string line;
    if (!std::getline(in_, line)) {
      err_ << '\n';
      return OverwriteAnswer::Skip;
    }
    if (line == "y" || line == "Y") return OverwriteAnswer::Overwrite;
    if (line == "n" || line == "N") return OverwriteAnswer::Rename;
  }
}

std::optional<std::string> TerminalUi::AskText(const std::string& prompt, const std::string& title,
                                               const std::string& proposal) {
  if (onExist_ == OnExist::Rename) return proposal;
  if (onExist_ != OnExist::Ask) return std::nullopt;
  // An empty line takes the proposal, as Enter does in an input box.
  err_ << title << ' ' << prompt << " [" << proposal << "]: " << std::flush;
  std::string line;
  if (!std::getline(in_, line)) {
    err_ << '\n';
    return std::nullopt;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line.empty() ? proposal : line;
}

std::string TerminalUi::SourceAt(std::size_t index) const {
  return index < sources_.size() ? sources_[index] : std::string();
}

void TerminalUi::RemoveSourceAt(std::size_t index) {
  if (index < sources_.size()) sources_.erase(sources_.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace carteloom
