#pragma once
// Shared test helpers: a scratch folder, byte-level file access and a
// scripted user interface that records every box it was asked to show.
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "batch/batch_ui.h"

namespace carteloom::testing {

// A fresh folder under the system temp folder, removed with the object.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  const std::filesystem::path& Path() const { return path_; }
  // The names of what the folder holds, sorted.
  std::vector<std::string> Names() const;
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
// Lines joined with CR LF, each line ending in CR LF, and back.
std::string CrLf(const std::vector<std::string>& lines);
std::vector<std::string> Lines(const std::string& text);

// Runs a command line through the shell; returns its exit status.
int RunCommand(const std::string& command);
// Runs a command line through the shell with input on its stdin: its exit status, stdout and stderr.
struct Ran {
  int status;
  std::string out, err;
};
Ran Run(const std::string& command, const std::string& input = "");

// A GeoJSON layer in the reference system srs (none: WGS 84) of features
// given as their properties and geometry.
std::string GeoJson(const std::string& srs, const std::vector<std::pair<std::string, std::string>>& features);

// How many features GDAL's ogrinfo reads of a layer, and in errors what it
// reported besides. HaveGdal() tells whether ogrinfo and ogr2ogr can be run here.
std::size_t OgrFeatureCount(const std::string& path, std::string& errors);
bool HaveGdal();

// Tests that run command lines written for a POSIX shell; the Windows build
// compares its command line with the Linux one in a script instead.
#ifdef _WIN32
#define SKIP_WITHOUT_POSIX_SHELL() GTEST_SKIP() << "needs a POSIX shell"
#else
#define SKIP_WITHOUT_POSIX_SHELL() static_cast<void>(0)
#endif

struct ShownBox {
  std::string kind;  // "message", "summary", "question", "input"
  std::string text;
  std::string title;
  std::string file;  // the file a message is about
};

// Answers the batch's boxes from a script; a box it has no answer for fails the test.
class ScriptedUi : public BatchUi {
 public:
  explicit ScriptedUi(std::vector<std::string> sources = {}) : sources(std::move(sources)) {}

  void ShowMessage(const std::string& text, const std::string& title) override { shown.push_back({"message", text, title, {}}); }
  void ShowFileMessage(const std::string& path, const std::string& text, const std::string& title) override {
    shown.push_back({"message", text, title, path});
  }
  void OutputRenamed(const std::string&, const std::string& path) override { renamed.push_back(path); }
  void ShowSummary(const std::string& text, const std::string& title) override { shown.push_back({"summary", text, title, {}}); }
  OverwriteAnswer AskOverwrite(const std::string& text, const std::string& title) override;
  std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                     const std::string& proposal) override;
  std::size_t SourceCount() const override { return sources.size(); }
  std::string SourceAt(std::size_t index) const override { return index < sources.size() ? sources[index] : ""; }
  void RemoveSourceAt(std::size_t index) override { sources.erase(sources.begin() + static_cast<long>(index)); }
  void ShowProgress(std::uint64_t done, std::uint64_t total) override { progress.push_back({done, total}); }
  void EntryFinished(const EntryReport& report) override { reports.push_back(report); }

  std::vector<std::string> sources;
  std::deque<OverwriteAnswer> overwriteAnswers;
  std::deque<std::optional<std::string>> textAnswers;  // nullopt: the answer "skip"
  std::vector<ShownBox> shown;
  std::vector<std::string> proposals;  // proposals seen by AskText, in order
  std::vector<std::pair<std::uint64_t, std::uint64_t>> progress;  // (done, total) as shown
  std::vector<EntryReport> reports;
  std::vector<std::string> renamed;  // outputs that took another name, as OutputRenamed told
};

// The progress a batch showed: by input bytes, never back, full when the
// last entry was done, then 0 for the summary.
void ExpectProgressByBytes(const ScriptedUi& ui);

}  // namespace carteloom::testing
