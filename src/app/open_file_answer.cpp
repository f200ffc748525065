#include "app/open_file_answer.h"

#include "files/paths.h"

namespace carteloom {

std::string JoinedPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (path.empty() || !IsSeparator(path.back())) path.push_back(kSeparator);
  path.append(name);
  return path;
}

std::vector<std::string> ChosenFiles(std::string_view answer) {
  const std::string_view text = Trimmed(answer);
  const std::size_t firstNul = text.find('\0');
  if (firstNul == std::string_view::npos || firstNul == 0) return {};
  const std::string_view head = text.substr(0, firstNul);

  // One character after the first NUL: the closing NUL of a single choice.
  if (firstNul + 2 == text.size()) return {std::string(head)};

  // Several files: the names lie between NULs; an empty one is the closing
  // NUL, and anything after the last NUL was not written as a name.
  std::vector<std::string> files;
  std::size_t start = firstNul + 1;
  for (;;) {
    const std::size_t end = text.find('\0', start);
    if (end == std::string_view::npos || end == start) break;
    files.push_back(JoinedPath(head, text.substr(start, end - start)));
    start = end + 1;
  }
  return files;
}

}  // namespace carteloom
