// The open-file dialog's answer, as the dialog or a damaged buffer gives it.
#include <algorithm>
#include <cstdint>
#include <string>

#include "app/open_file_answer.h"
#include "formats/paths.h"
#include "fuzz_support.h"

using namespace carteloom;
using carteloom::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view answer(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> files = ChosenFiles(answer);

  std::size_t nuls = static_cast<std::size_t>(std::count(answer.begin(), answer.end(), '\0'));
  Require(files.size() <= nuls, "more files than NULs");
  // Every path starts with the text before the first NUL: the one file, or the folder of all.
  std::string_view text = Trimmed(answer);
  std::string_view head = text.substr(0, text.find('\0'));
  for (const std::string& file : files) {
    Require(!file.empty() && file.find('\0') == std::string::npos, "an empty path or a NUL inside one");
    Require(file.size() <= size + 1, "a path longer than the answer");
    Require(std::string_view(file).substr(0, head.size()) == head, "a path outside the chosen folder");
    if (files.size() > 1)
      Require(file.size() > head.size() && IsSeparator(file[head.size() - (IsSeparator(head.back()) ? 1 : 0)]),
              "a name not joined to its folder");
  }

  // Folder and name with one separator between them, none added to a root.
  std::size_t cut = size > 0 ? data[0] % (size + 1) : 0;
  std::string_view folder = answer.substr(0, cut);
  std::string_view name = answer.substr(cut);
  std::string joined = JoinedPath(folder, name);
  bool endsInSeparator = !folder.empty() && IsSeparator(folder.back());
  Require(joined.size() == folder.size() + name.size() + (endsInSeparator ? 0 : 1), "joined length");
  Require(std::string_view(joined).substr(0, folder.size()) == folder, "joined folder");
  Require(std::string_view(joined).substr(joined.size() - name.size()) == name, "joined name");
  Require(IsSeparator(joined[joined.size() - name.size() - 1]), "no separator before the name");
  return 0;
}
