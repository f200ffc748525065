#pragma once
// Everything the system does with the file system, and how it reports a
// failure. Paths are kept as the bytes the user gave: on Windows that is the
// system's ANSI code page (GBK on a Chinese system), which the wide file
// calls do not take and std::filesystem would read as UTF-8. Every file
// system call on a path goes through these, so a Chinese name reaches the
// disk unchanged.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

#include "files/charset_codec.h"

namespace carteloom {

// A file that could not be read or written: the path and the reason, in
// words a user can act on.
class FileError : public std::runtime_error {
 public:
  FileError(std::string path, std::string reason)
      : std::runtime_error(PathInText(path) + "：" + reason), path_(std::move(path)), reason_(std::move(reason)) {}
  const std::string& Path() const { return path_; }
  const std::string& Reason() const { return reason_; }

 private:
  std::string path_;
  std::string reason_;
};

// The reason for an errno value, or for a failed file system call, in the program's language.
std::string ReasonForErrno(int error);
std::string ReasonForError(const std::error_code& error);

// The path for std::filesystem calls, and back.
std::filesystem::path NativePath(const std::string& path);
std::string NarrowPath(const std::filesystem::path& path);

// std::fopen for a path held as bytes.
std::FILE* OpenFile(const std::string& path, const char* mode);

// Renames from to to, replacing a file that to names (std::filesystem's
// rename does not replace on every Windows runtime).
std::error_code MoveReplacing(const std::string& from, const std::string& to);
// Renames from to to only when to names nothing, in one step: a file that
// is there gives errc::file_exists, a system that cannot tell so
// errc::operation_not_supported.
std::error_code MoveIfFree(const std::string& from, const std::string& to);

// Every byte of a regular file, in order. Throws FileError when the path
// names nothing, a folder, or a file that cannot be read; BatchStopped when
// a stop is requested meanwhile.
std::string FileText(const std::string& path);

// True exactly when a regular file of that path exists; a folder, nothing,
// or a path that cannot be looked at gives false.
bool PathExists(const std::string& path);

// The size of a file, 0 for one that cannot be looked at.
std::uint64_t SizeOfFile(const std::string& path);

// Throws FileError when the path names a folder: some systems open one like
// a file, and none can replace one by a file.
void RefuseFolder(const std::string& path);

// A file to write and read back that goes away when it is closed or the
// process ends, in the system's folder for temporary files; nullptr, with
// errno set, when none can be had.
std::FILE* OpenScratchFile();

}  // namespace carteloom
