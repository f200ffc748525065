#include "files/file_routines.h"

#include <cerrno>
#include <cstring>
#include <memory>

#include "files/stop_request.h"

#ifdef __linux__
#include <fcntl.h>
#include <stdio.h>
#endif
#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <io.h>
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
  // Written through: Windows cannot flush a folder, so each move is on the device when it returns.
  if (MoveFileExW(NativePath(from).c_str(), NativePath(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return {};
  return std::error_code(static_cast<int>(GetLastError()), std::system_category());
}

std::error_code MoveIfFree(const std::string& from, const std::string& to) {
  if (MoveFileExW(NativePath(from).c_str(), NativePath(to).c_str(), MOVEFILE_WRITE_THROUGH)) return {};
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) return std::make_error_code(std::errc::file_exists);
  return std::error_code(static_cast<int>(error), std::system_category());
}

static int ErrnoOfLastError() {
  const int number = ErrnoOf(static_cast<int>(GetLastError()));
  return number != 0 ? number : EIO;
}

int SyncFile(std::FILE* file) {
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  return FlushFileBuffers(handle) ? 0 : ErrnoOfLastError();
}

bool FolderNames(const std::string& folder, std::vector<std::string>& names) {
  std::string pattern = folder;
  if (pattern.empty() || !(pattern.back() == '\\' || pattern.back() == '/')) pattern += '\\';
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(NativePath(pattern + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    const std::string name = NarrowPath(fs::path(found.cFileName));
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return true;
}

int SyncFolder(const std::string&) { return 0; }

int LockedFile::Open(const std::string& path, bool create) {
  Close();
  HANDLE handle = CreateFileW(NativePath(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              create ? CREATE_NEW : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION) return EWOULDBLOCK;
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return EEXIST;
    return ErrnoOfLastError();
  }
  handle_ = reinterpret_cast<std::intptr_t>(handle);
  return 0;
}

int LockedFile::Append(std::string_view bytes) {
  const auto handle = reinterpret_cast<HANDLE>(handle_);
  LARGE_INTEGER end{};
  DWORD written = 0;
  if (!SetFilePointerEx(handle, end, nullptr, FILE_END) ||
      !WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size() || !FlushFileBuffers(handle))
    return ErrnoOfLastError();
  return 0;
}

std::string LockedFile::Contents() {
  const auto handle = reinterpret_cast<HANDLE>(handle_);
  std::string text;
  LARGE_INTEGER start{};
  if (!SetFilePointerEx(handle, start, nullptr, FILE_BEGIN)) return text;
  char block[4096];
  DWORD got = 0;
  while (ReadFile(handle, block, sizeof block, &got, nullptr) && got > 0) text.append(block, got);
  return text;
}

void LockedFile::Close() noexcept {
  if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
  handle_ = -1;
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

// A file system that keeps nothing to flush (or a special file) says EINVAL.
static int SyncResult(int result) { return result == 0 || errno == EINVAL || errno == ENOTSUP ? 0 : errno; }

bool FolderNames(const std::string& folder, std::vector<std::string>& names) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(fs::path(folder), ec)) names.push_back(entry.path().filename());
  return !ec;
}

int SyncFile(std::FILE* file) { return SyncResult(fdatasync(fileno(file))); }

int SyncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  const int error = SyncResult(fsync(fd));
  close(fd);
  return error;
}

int LockedFile::Open(const std::string& path, bool create) {
  Close();
  const int fd = open(path.c_str(), O_RDWR | O_APPEND | O_CLOEXEC | (create ? O_CREAT | O_EXCL : 0), 0666);
  if (fd < 0) return errno;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    close(fd);
    return error;
  }
  handle_ = fd;
  return 0;
}

int LockedFile::Append(std::string_view bytes) {
  const int fd = static_cast<int>(handle_);
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return written < 0 ? errno : EIO;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return SyncResult(fdatasync(fd));
}

std::string LockedFile::Contents() {
  std::string text;
  char block[4096];
  for (off_t offset = 0;;) {
    const ssize_t got = pread(static_cast<int>(handle_), block, sizeof block, offset);
    if (got <= 0) return text;
    text.append(block, static_cast<std::size_t>(got));
    offset += got;
  }
}

void LockedFile::Close() noexcept {
  if (handle_ != -1) close(static_cast<int>(handle_));
  handle_ = -1;
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
