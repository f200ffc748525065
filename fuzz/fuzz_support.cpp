#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "files/file_routines.h"

namespace carteloom::fuzz {
namespace fs = std::filesystem;
namespace {

// The user of RunBatch.
struct FuzzUi : BatchUi {
  std::vector<std::string> sources;
  std::size_t messages = 0;
  std::uint64_t done = 0;

  void ShowMessage(const std::string&, const std::string&) override { ++messages; }
  void ShowSummary(const std::string&, const std::string&) override {}
  OverwriteAnswer AskOverwrite(const std::string&, const std::string&) override { return OverwriteAnswer::Overwrite; }
  std::optional<std::string> AskText(const std::string&, const std::string&, const std::string&) override { return {}; }
  std::size_t SourceCount() const override { return sources.size(); }
  std::string SourceAt(std::size_t index) const override { return sources.at(index); }
  void RemoveSourceAt(std::size_t index) override { sources.erase(sources.begin() + static_cast<long>(index)); }
  // Progress only grows within a batch, never past the total, and drops only to 0 for the summary.
  void ShowProgress(std::uint64_t value, std::uint64_t total) override {
    Require(value <= total && (value >= done || value == 0),
            "progress " + std::to_string(value) + " of " + std::to_string(total) + " after " + std::to_string(done));
    done = value;
  }
};

// A folder of this process, under $CARTELOOM_FUZZ_TMP (a RAM folder) or /tmp, removed at exit.
struct Scratch {
  const char* base = std::getenv("CARTELOOM_FUZZ_TMP");
  std::string path = std::string(base && *base ? base : "/tmp") + "/carteloom-fuzz-XXXXXX";
  Scratch() { Require(mkdtemp(path.data()) != nullptr, "cannot create " + path); }
  ~Scratch() { fs::remove_all(path); }
};

const Scratch& ScratchFolder() {
  static const Scratch scratch;
  return scratch;
}

}  // namespace

std::string FileHolding(const std::string& bytes) {
  const std::string path = ScratchFolder().path + "/held";
  Require(bool(std::ofstream(path, std::ios::binary) << bytes << std::flush), "cannot write " + path);
  return path;
}

void Require(bool condition, const std::string& what) {
  if (condition) return;
  std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
  std::abort();
}

BatchRun RunBatch(const Batch& batch, const std::map<std::string, std::string>& files,
                  const std::vector<std::string>& sources) {
  const std::string in = ScratchFolder().path + "/in/", out = ScratchFolder().path + "/out";
  for (const std::string& folder : {in, out}) fs::remove_all(folder), fs::create_directory(folder);
  for (const auto& [name, bytes] : files)
    Require(bool(std::ofstream(in + name, std::ios::binary) << bytes << std::flush), "cannot write " + name);
  FuzzUi ui;
  for (const std::string& name : sources) ui.sources.push_back(in + name);
  BatchRun run{batch(ui, out).converted, ui.messages, {}, in};
  for (const auto& entry : fs::directory_iterator(out)) {
    const std::string name = entry.path().filename().string();
    Require(name.find(".tmp") == std::string::npos, "a temporary file left behind: " + name);
    run.outputs[name] = FileText(entry.path().string());
  }
  return run;
}

}  // namespace carteloom::fuzz
