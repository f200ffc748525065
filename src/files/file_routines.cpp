#include "files/file_routines.h"

#include <cerrno>
#include <cstring>
#include <memory>

#include "files/stop_request.h"

#ifdef __linux__
#include <fcntl.h>
#include <stdio.h>
#endif

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace carteloom {
namespace fs = std::filesystem;

std::string ReasonForErrno(int error) {
  switch (error) {
    case ENOENT: return "文件或文件夹不存在";
    case EACCES:
    case EPERM: return "没有访问权限";
    case EISDIR: return "这是一个文件夹，不是文件";
    case ENOTDIR: return "路径中有一部分不是文件夹";
    case ENOSPC: return "磁盘空间不足";
    case EFBIG: return "文件超出了允许的大小";
    case EROFS: return "磁盘是只读的";
    case ENAMETOOLONG: return "文件名太长";
    case EINVAL: return "文件名无效";
    case EIO: return "读写设备出错";
    default: return std::strerror(error);
  }
}

#ifdef _WIN32

namespace {

std::wstring WideText(const std::string& bytes) {
  if (bytes.empty()) return {};
  int size = static_cast<int>(bytes.size());
  int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), length);
  return wide;
}

// The errno value nearest to a Windows error, for the common reasons.
int ErrnoOf(int windowsError) {
  switch (windowsError) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_WRITE_PROTECT: return EROFS;
    case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY: return EINVAL;
    default: return 0;
  }
}

}  // namespace

fs::path NativePath(const std::string& path) { return fs::path(WideText(path)); }

std::string NarrowPath(const fs::path& path) {
  const std::wstring& wide = path.native();
  if (wide.empty()) return {};
  int size = static_cast<int>(wide.size());
  int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), size, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
  std::wstring wideMode;
  for (const char* c = mode; *c != '\0'; ++c) wideMode.push_back(static_cast<wchar_t>(*c));
  fs::path native = NativePath(path);
  std::FILE* file = _wfopen(native.c_str(), wideMode.c_str());
  // Windows refuses a folder as "access denied"; say what it is, as elsewhere.
  std::error_code ec;
  if (file == nullptr && errno == EACCES && fs::is_directory(native, ec)) errno = EISDIR;
  return file;
}

std::FILE* OpenScratchFile() {
  // tmpfile() of the older runtimes makes its file in the drive's root, where a user may not write.
  wchar_t folder[MAX_PATH + 1];
  wchar_t name[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH || GetTempFileNameW(folder, L"ctl", 0, name) == 0) {
    errno = ErrnoOf(static_cast<int>(GetLastError()));
    if (errno == 0) errno = EIO;
    return nullptr;
  }
  // "D": deleted when closed; "T": kept in the cache where it can be.
  std::FILE* file = _wfopen(name, L"w+bTD");
  if (file == nullptr) DeleteFileW(name);
  return file;
}

std::error_code MoveReplacing(const std::string& from, const std::string& to) {
  if (MoveFileExW(NativePath(from).c_str(), NativePath(to).c_str(), MOVEFILE_REPLACE_EXISTING))
    return {};
  return std::error_code(static_cast<int>(GetLastError()), std::system_category());
}

std::error_code MoveIfFree(const std::string& from, const std::string& to) {
  if (MoveFileExW(NativePath(from).c_str(), NativePath(to).c_str(), 0)) return {};
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) return std::make_error_code(std::errc::file_exists);
  return std::error_code(static_cast<int>(error), std::system_category());
}

std::string ReasonForError(const std::error_code& error) {
  if (error.category() == std::system_category()) {
    int number = ErrnoOf(error.value());
    if (number != 0) return ReasonForErrno(number);
  } else if (error.category() == std::generic_category()) {
    return ReasonForErrno(error.value());
  }
  return error.message();
}

#else

fs::path NativePath(const std::string& path) { return fs::path(path); }

std::string NarrowPath(const fs::path& path) { return path.native(); }

std::FILE* OpenFile(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }

std::FILE* OpenScratchFile() { return std::tmpfile(); }

std::error_code MoveReplacing(const std::string& from, const std::string& to) {
  std::error_code ec;
  fs::rename(fs::path(from), fs::path(to), ec);
  return ec;
}

std::error_code MoveIfFree(const std::string& from, const std::string& to) {
#ifdef __linux__
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return {};
  // Some file systems do not know the flag: then the caller looks first.
  if (errno == EINVAL || errno == ENOSYS) return std::make_error_code(std::errc::operation_not_supported);
  return std::error_code(errno, std::generic_category());
#else
  (void)from;
  (void)to;
  return std::make_error_code(std::errc::operation_not_supported);
#endif
}

std::string ReasonForError(const std::error_code& error) {
  return error.value() != 0 ? ReasonForErrno(error.value()) : error.message();
}

#endif

std::string FileText(const std::string& path) {
  std::error_code ec;
  fs::file_status status = fs::status(NativePath(path), ec);
  if (status.type() == fs::file_type::directory) throw FileError(path, ReasonForErrno(EISDIR));
  if (ec || status.type() == fs::file_type::not_found) throw FileError(path, ReasonForErrno(ENOENT));

  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenFile(path, "rb"), &std::fclose);
  if (!file) throw FileError(path, ReasonForErrno(errno));
  std::string text;
  std::uintmax_t size = fs::file_size(NativePath(path), ec);
  if (!ec) text.reserve(static_cast<std::size_t>(size));
  char block[1 << 16];
  for (;;) {
    StopPoint();
    std::size_t got = std::fread(block, 1, sizeof block, file.get());
    text.append(block, got);
    if (got < sizeof block) break;
  }
  if (std::ferror(file.get())) throw FileError(path, ReasonForErrno(errno != 0 ? errno : EIO));
  return text;
}

bool PathExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(NativePath(path), ec);
}

std::uint64_t SizeOfFile(const std::string& path) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(NativePath(path), ec);
  return ec ? 0 : static_cast<std::uint64_t>(size);
}

void RefuseFolder(const std::string& path) {
  std::error_code ec;
  if (fs::is_directory(NativePath(path), ec)) throw FileError(path, ReasonForErrno(EISDIR));
}

}  // namespace carteloom
