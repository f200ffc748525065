// The open-file dialog's answer, as the dialog or a damaged buffer gives it.
#include <algorithm>

#include "app/open_file_answer.h"
#include "files/paths.h"
#include "fuzz_support.h"

using namespace carteloom;
using carteloom::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string answer(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> files = ChosenFiles(answer);
  Require(std::ssize(files) <= std::ranges::count(answer, '\0'), "more files than NULs");
  // Every path starts with the text before the first NUL: the one file, or the folder of all.
  const std::string_view text = Trimmed(answer), head = text.substr(0, text.find('\0'));
  for (const std::string& file : files) {
    Require(!file.empty() && file.find('\0') == std::string::npos && file.size() <= size + 1 && file.starts_with(head),
            "an empty path, a NUL inside one, or a path outside the chosen folder");
    Require(files.size() == 1 ||
                (file.size() > head.size() && IsSeparator(file[head.size() - (IsSeparator(head.back()) ? 1 : 0)])),
            "a name not joined to its folder");
  }
  return 0;
}
