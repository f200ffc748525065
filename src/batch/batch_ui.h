#pragma once
// What a batch needs of its user: boxes, the source list it works off and
// the progress bar. The window, the command line and the tests each give
// their own implementation. All texts are UTF-8, with the paths they name
// as PathInText gives them; a path on its own (an argument named path) is
// the path's bytes.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/charset_codec.h"

namespace carteloom {

// Title of the boxes that have no title of their own.
inline constexpr const char* kProgramTitle = "Carteloom";
// Title of most boxes: "Message" in the program's language.
inline constexpr const char* kMessageTitle = "消息";

// What a batch did, for a front end's exit status.
struct BatchResult {
  std::size_t startCount = 0;  // entries in the list when the batch started
  std::size_t converted = 0;   // entries converted and removed
  bool endedEarly = false;     // a message or an answer ended it before the list's end: no summary
  bool stopped = false;        // RequestStop() ended it: no summary, nothing half-written left
};

// What became of one entry of the list, in list order, once per entry the
// batch started with (entries a batch that ended early never reached too).
struct EntryReport {
  std::string source;
  std::vector<std::string> outputs;  // the paths written, when converted
  std::string whyNot;                // empty when converted; otherwise a text a person can act on
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
  // A message about one file: text does not name it, the front end shows
  // which file it is about (the command line as "PATH: text").
  virtual void ShowFileMessage(const std::string& path, const std::string& text, const std::string& title) {
    ShowMessage(PathInText(path) + "：" + text, title);
  }
  // The closing summary of a batch; a message box unless a front end shows it otherwise.
  virtual void ShowSummary(const std::string& text, const std::string& title) { ShowMessage(text, title); }
  // The OK/Cancel question whether to replace an existing output.
  virtual OverwriteAnswer AskOverwrite(const std::string& text, const std::string& title) = 0;
  // The input box: the typed text, empty when cancelled. No value at all
  // means "leave this file alone" (a terminal that has no more input).
  virtual std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                             const std::string& proposal) = 0;
  // An output took another name than the one first proposed (an answer of
  // the overwrite dialogue); path is the one it took.
  virtual void OutputRenamed(const std::string& proposedPath, const std::string& path) {
    (void)proposedPath;
    (void)path;
  }

  // The source list of the batch's direction, read and worked off from the top.
  virtual std::size_t SourceCount() const = 0;
  virtual std::string SourceAt(std::size_t index) const = 0;
  virtual void RemoveSourceAt(std::size_t index) = 0;

  // The share of the batch's input bytes done: done only grows during a
  // batch, equals total once the last entry is done, and is 0 again when
  // the summary shows. total is the size of every source (with its MID) the
  // batch started with; it may be 0.
  virtual void ShowProgress(std::uint64_t done, std::uint64_t total) = 0;

  // Once per entry, when it is done with (see EntryReport).
  virtual void EntryFinished(const EntryReport& report) { (void)report; }

  // Called between files, so that a window can repaint during a long batch.
  virtual void BetweenFiles() {}
};

}  // namespace carteloom
