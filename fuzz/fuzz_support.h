#pragma once
// What the harnesses share. A broken invariant prints what broke and aborts,
// which libFuzzer reports as a crash with the input that caused it.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "batch/batch_ui.h"

namespace carteloom::fuzz {

void Require(bool condition, const std::string& what);

// A file of this process's scratch folder holding bytes (the same file each call).
std::string FileHolding(const std::string& bytes);

// What a batch did and the files it left in its output folder, by name.
struct BatchRun {
  std::size_t converted = 0;
  std::size_t messages = 0;  // the closing summary apart
  std::map<std::string, std::string> outputs;
  std::string sources;  // the folder that holds the files given, still there
};

// Writes the files (name and bytes) into an empty folder, lists the sources
// among them and runs batch(ui, outputFolder). The user lets every output
// replace what is there and leaves a file alone when asked for a name. A
// progress value beyond its maximum, or a temporary file left behind, fails.
using Batch = std::function<BatchResult(BatchUi&, const std::string&)>;
BatchRun RunBatch(const Batch& batch, const std::map<std::string, std::string>& files,
                  const std::vector<std::string>& sources);

}  // namespace carteloom::fuzz
