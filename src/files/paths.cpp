#include "files/paths.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace carteloom {
namespace {

// True when text[i] opens a two-byte character of the system code page. Its
// second byte may equal "\" or "|" (GBK "誠" is D5 5C), so a scan for those
// has to step over it. Paths elsewhere are scanned byte by byte: "/" is never
// the second byte of a character.
bool StartsDoubleByte([[maybe_unused]] std::string_view text, [[maybe_unused]] std::size_t i) {
#ifdef _WIN32
  return i + 1 < text.size() && IsDBCSLeadByte(static_cast<BYTE>(text[i]));
#else
  return false;
#endif
}

#ifdef _WIN32
// CON, NUL, COM1 and the like name devices on Windows, whatever suffix
// follows: output under such a name would vanish into the device.
bool IsDeviceName(std::string_view name) {
  std::string_view stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  for (std::string_view device : {"CON", "PRN", "AUX", "NUL"})
    if (SameLetters(stem, device)) return true;
  return stem.size() == 4 && (SameLetters(stem.substr(0, 3), "COM") || SameLetters(stem.substr(0, 3), "LPT")) &&
         stem[3] >= '1' && stem[3] <= '9';
}
#endif

}  // namespace

std::string TypeSuffix(std::string_view path) {
  std::size_t dot = path.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot));
}

std::size_t NameStart(std::string_view path) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (StartsDoubleByte(path, i))
      ++i;
    else if (IsSeparator(path[i]))
      start = i + 1;
  }
  return start;
}

std::string_view SourceStem(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  return dot != std::string_view::npos && dot >= NameStart(path) ? path.substr(0, dot) : path;
}

std::string BaseName(std::string_view path) {
  std::string_view stem = SourceStem(path);
  return std::string(stem.substr(NameStart(stem)));
}

std::string InFolder(std::string_view folder, std::string_view name) {
  std::string path(folder);
  path.push_back(kSeparator);
  path.append(name);
  return path;
}

bool IsValidFileName(std::string_view name) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (StartsDoubleByte(name, i)) {
      ++i;
      continue;
    }
    char c = name[i];
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
        c == '>' || c == '|')
      return false;
  }
#ifdef _WIN32
  if (IsDeviceName(name)) return false;
#endif
  return !name.empty() && name != "." && name != "..";
}

std::string ComparablePath(std::string_view path) {
  std::string key(path);
#ifdef _WIN32
  for (std::size_t i = 0; i < key.size(); ++i) {
    if (StartsDoubleByte(key, i))
      ++i;
    else if (key[i] >= 'A' && key[i] <= 'Z')
      key[i] = static_cast<char>(key[i] - 'A' + 'a');
  }
#endif
  return key;
}

std::string_view Trimmed(std::string_view text) {
  std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  std::size_t end = text.find_last_not_of(" \t");
  return text.substr(begin, end - begin + 1);
}

}  // namespace carteloom
