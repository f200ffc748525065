#pragma once
// A batch user that answers every box the same way and checks the progress values.
#include <optional>
#include <string>
#include <vector>

#include "formats/batch_ui.h"
#include "fuzz_support.h"

namespace carteloom::fuzz {

class FuzzUi : public BatchUi {
 public:
  explicit FuzzUi(std::vector<std::string> sources = {}) : sources_(std::move(sources)) {}

  void ShowMessage(const std::string& text, const std::string&) override { messages.push_back(text); }
  OverwriteAnswer AskOverwrite(const std::string&, const std::string&) override { return OverwriteAnswer::Overwrite; }
  std::optional<std::string> AskText(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::size_t SourceCount() const override { return sources_.size(); }
  std::string SourceAt(std::size_t index) const override { return sources_.at(index); }
  void RemoveSourceAt(std::size_t index) override { sources_.erase(sources_.begin() + static_cast<long>(index)); }
  void SetProgressMaximum(int maximum) override { maximum_ = maximum; }
  void SetProgressValue(int value) override {
    Require(value >= 0 && value <= maximum_, "progress value " + std::to_string(value) + " outside 0.." +
                                                 std::to_string(maximum_));
  }

  std::vector<std::string> messages;

 private:
  std::vector<std::string> sources_;
  int maximum_ = 500;
};

}  // namespace carteloom::fuzz
