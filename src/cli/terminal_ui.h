#pragma once
// The batches' user interface on a terminal: messages on stderr, the summary
// on stdout, the overwrite dialogue answered by --on-exist or at a prompt.
#include <iosfwd>
#include <string>
#include <vector>

#include "formats/batch_ui.h"

namespace carteloom {

enum class OnExist { Ask, Overwrite, Rename, Fail };

class TerminalUi : public BatchUi {
 public:
  TerminalUi(std::vector<std::string> sources, OnExist onExist, std::istream& in, std::ostream& out,
             std::ostream& err);

  void ShowMessage(const std::string& text, const std::string& title) override;
  void ShowSummary(const std::string& text, const std::string& title) override;
  OverwriteAnswer AskOverwrite(const std::string& text, const std::string& title) override;
  std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                     const std::string& proposal) override;

  std::size_t SourceCount() const override { return sources_.size(); }
  std::string SourceAt(std::size_t index) const override;
  void RemoveSourceAt(std::size_t index) override;
  void ShowProgress(std::uint64_t, std::uint64_t) override {}

 private:
  std::vector<std::string> sources_;
  OnExist onExist_;
  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
};

}  // namespace carteloom
