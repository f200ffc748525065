#include "formats/paths.h"

namespace carteloom {

std::string TypeSuffix(std::string_view path) {
  std::size_t dot = path.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot));
}

std::string BaseName(std::string_view path) {
  std::size_t start = path.size();
  while (start > 0 && !IsSeparator(path[start - 1])) --start;
  std::string_view name = path.substr(start);
  return std::string(name.substr(0, name.size() > 4 ? name.size() - 4 : 0));
}

std::string InFolder(std::string_view folder, std::string_view name) {
  std::string path(folder);
  path.push_back(kSeparator);
  path.append(name);
  return path;
}

bool IsValidFileName(std::string_view name) {
  for (char c : name) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
        c == '>' || c == '|')
      return false;
  }
  return !name.empty() && name != "." && name != "..";
}

std::string_view Trimmed(std::string_view text) {
  std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  std::size_t end = text.find_last_not_of(" \t");
  return text.substr(begin, end - begin + 1);
}

}  // namespace carteloom
