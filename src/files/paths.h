#pragma once
// Source paths and output names, and the small text rules they share with
// the readers. Paths are bytes and pass through unchanged.
#include <string>
#include <string_view>

namespace carteloom {

#ifdef _WIN32
inline constexpr char kSeparator = '\\';
inline bool IsSeparator(char c) { return c == '\\' || c == '/'; }
#else
inline constexpr char kSeparator = '/';
inline bool IsSeparator(char c) { return c == '/'; }
#endif

// From the last "." of the path to its end, dot included; empty without one.
std::string TypeSuffix(std::string_view path);

// Where the file name of a path starts: just after its last separator, 0
// without one. On Windows a Chinese character's second byte can equal "\",
// so a path is never scanned for separators byte by byte; use this.
std::size_t NameStart(std::string_view path);

// The path up to its suffix (the last "." of the file name); the whole path
// when the file name has none: D:\gis\roads.mif gives D:\gis\roads.
std::string_view SourceStem(std::string_view path);
// The file name of the path up to its suffix: roads.
std::string BaseName(std::string_view path);

// folder + separator + name, as written: a folder that already ends in a
// separator gives two in a row, which the file system reads as one.
std::string InFolder(std::string_view folder, std::string_view name);

// False for a name that holds a folder separator, a control character or a
// character that a file name cannot hold on a receiver card or on Windows,
// and on Windows for a device name (CON, NUL, COM1 ...).
bool IsValidFileName(std::string_view name);

// The path as the file system compares names: on Windows without regard to
// the letter case of A to Z (the second byte of a double-byte character is
// kept as it is), elsewhere unchanged.
std::string ComparablePath(std::string_view path);

// Blanks (space, tab) removed at both ends.
std::string_view Trimmed(std::string_view text);

// The same text but for the letter case of A to Z.
inline bool SameLetters(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

}  // namespace carteloom
