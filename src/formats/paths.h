#pragma once
// Source paths and output names. Paths are bytes and pass through unchanged.
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

// The characters after the last separator, less the last four (the dot and
// a three-letter suffix).
std::string BaseName(std::string_view path);

// folder + separator + name, as written: a folder that already ends in a
// separator gives two in a row, which the file system reads as one.
std::string InFolder(std::string_view folder, std::string_view name);

// False for a name that holds a folder separator, a control character or a
// character that a file name cannot hold on a receiver card or on Windows,
// and on Windows for a device name (CON, NUL, COM1 ...).
bool IsValidFileName(std::string_view name);

// Blanks (space, tab) removed at both ends.
std::string_view Trimmed(std::string_view text);

}  // namespace carteloom
