#include "app/open_file_answer.h"

#include "formats/paths.h"

namespace carteloom {

std::vector<std::string> ChosenFiles(std::string_view answer) {
  const std::size_t firstNul = answer.find('\0');
  if (firstNul == std::string_view::npos || firstNul == 0) return {};
  const std::string_view head = answer.substr(0, firstNul);

  // One character after the first NUL: the closing NUL of a single choice.
  if (firstNul + 2 == answer.size()) return {std::string(head)};

  // Several files: the names lie between NULs; an empty one is the closing
  // NUL, and anything after the last NUL was not written as a name.
  const std::string folder = IsSeparator(head.back()) ? std::string(head) : std::string(head) + kSeparator;
  std::vector<std::string> files;
  std::size_t start = firstNul + 1;
  for (;;) {
    const std::size_t end = answer.find('\0', start);
    if (end == std::string_view::npos || end == start) break;
    files.push_back(folder + std::string(answer.substr(start, end - start)));
    start = end + 1;
  }
  return files;
}

}  // namespace carteloom
