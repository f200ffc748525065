#pragma once
// What a batch needs of its user: boxes, the source list it works off and
// the progress bar. The window, the command line and the tests each give
// their own implementation. All texts are UTF-8; paths inside them are the
// bytes of the path.
#include <cstddef>
#include <optional>
#include <string>

namespace carteloom {

// Title of the boxes that have no title of their own.
inline constexpr const char* kProgramTitle = "Carteloom";
// Title of most boxes: "Message" in the program's language.
inline constexpr const char* kMessageTitle = "消息";

// What a batch did, for a front end's exit status.
struct BatchResult {
  std::size_t startCount = 0;  // entries in the list when the batch started
  std::size_t converted = 0;   // entries converted and removed
};

enum class OverwriteAnswer {
  Overwrite,  // OK
  Rename,     // Cancel, or the box closed
  Skip,       // leave this file alone (command line only: --on-exist=fail)
};

class BatchUi {
 public:
  virtual ~BatchUi() = default;

  // A modal message with an OK button.
  virtual void ShowMessage(const std::string& text, const std::string& title) = 0;
  // The closing summary of a batch; a message box unless a front end shows it otherwise.
  virtual void ShowSummary(const std::string& text, const std::string& title) { ShowMessage(text, title); }
  // The OK/Cancel question whether to replace an existing output.
  virtual OverwriteAnswer AskOverwrite(const std::string& text, const std::string& title) = 0;
  // The input box: the typed text, empty when cancelled. No value at all
  // means "leave this file alone" (a terminal that has no more input).
  virtual std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                             const std::string& proposal) = 0;

  // The source list of the batch's direction, read and worked off from the top.
  virtual std::size_t SourceCount() const = 0;
  virtual std::string SourceAt(std::size_t index) const = 0;
  virtual void RemoveSourceAt(std::size_t index) = 0;

  virtual void SetProgressMaximum(int maximum) = 0;
  virtual void SetProgressValue(int value) = 0;

  // Called between files, so that a window can repaint during a long batch.
  virtual void BetweenFiles() {}
};

}  // namespace carteloom
