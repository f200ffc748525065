#pragma once
// Paths are kept as the bytes the user gave: on Windows that is the system's
// ANSI code page (GBK on a Chinese system), which the wide file calls do not
// take and std::filesystem would read as UTF-8. Every file system call on a
// path goes through these, so a Chinese name reaches the disk unchanged.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace carteloom {

// The path for std::filesystem calls.
std::filesystem::path NativePath(const std::string& path);

// The bytes of a path that the system gave, the reverse of NativePath.
std::string NarrowPath(const std::filesystem::path& path);

// std::fopen for a path held as bytes.
std::FILE* OpenFile(const std::string& path, const char* mode);

// Renames from to to, replacing a file that to names (std::filesystem's
// rename does not replace on every Windows runtime).
std::error_code MoveReplacing(const std::string& from, const std::string& to);

// The reason for a failed file system call, in the program's language.
std::string ReasonForError(const std::error_code& error);

}  // namespace carteloom
