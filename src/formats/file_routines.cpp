#include "formats/file_routines.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "formats/file_error.h"
#include "formats/native_path.h"

namespace carteloom {
namespace fs = std::filesystem;

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

}  // namespace carteloom
