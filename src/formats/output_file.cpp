#include "formats/output_file.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "formats/file_routines.h"
#include "formats/number_text.h"

namespace carteloom {
namespace fs = std::filesystem;

namespace {
std::atomic<int> temp_counter{0};
}

OutputFile::OutputFile(std::string targetPath) : target_(std::move(targetPath)) {
  // The temporary file sits in the target's folder so that the final move
  // is a rename within one file system.
  for (int attempt = 0; attempt < 1000 && file_ == nullptr; ++attempt) {
    temp_ = target_ + ".tmp~" + IntegerText(temp_counter++);
    std::error_code ec;
    if (fs::exists(NativePath(temp_), ec)) continue;
    file_ = OpenFile(temp_, "wb");
    if (file_ == nullptr) throw FileError(target_, ReasonForErrno(errno));
  }
  if (file_ == nullptr) throw FileError(target_, "无法建立临时文件");
  capacity_ = kFlushSize + 4096;
  buffer_ = std::make_unique_for_overwrite<char[]>(capacity_);
}

OutputFile::~OutputFile() { Discard(); }

void OutputFile::WriteLine(std::string_view bytes) {
  char* end = Room(bytes.size() + 2);
  if (!bytes.empty()) std::memcpy(end, bytes.data(), bytes.size());
  end += bytes.size();
  *end++ = '\r';
  *end++ = '\n';
  Advance(end);
}

// Writes out what the buffer holds, then grows it if n bytes would still not fit.
void OutputFile::MakeRoom(std::size_t n) {
  Flush();
  if (n <= capacity_) return;
  capacity_ = n;
  buffer_ = std::make_unique_for_overwrite<char[]>(capacity_);
}

void OutputFile::Flush() {
  if (file_ == nullptr) throw FileError(target_, "文件已经关闭");
  if (used_ == 0) return;
  errno = 0;
  std::size_t written = std::fwrite(buffer_.get(), 1, used_, file_);
  if (written != used_) {
    int error = errno != 0 ? errno : EIO;
    throw FileError(target_, ReasonForErrno(error));
  }
  used_ = 0;
}

void OutputFile::Close() {
  if (file_ == nullptr) return;
  Flush();
  errno = 0;
  int closed = std::fclose(file_);
  file_ = nullptr;
  // A closed file waiting for its commit keeps no buffer: a layer holds thousands of them.
  buffer_.reset();
  capacity_ = 0;
  if (closed != 0) {
    int error = errno != 0 ? errno : EIO;
    Discard();
    throw FileError(target_, ReasonForErrno(error));
  }
}

void OutputFile::Commit() {
  if (temp_.empty()) throw FileError(target_, "文件已经关闭");
  Close();
  std::error_code ec = MoveReplacing(temp_, target_);
  if (ec) {
    Discard();
    throw FileError(target_, ReasonForError(ec));
  }
  temp_.clear();
}

void OutputFile::Discard() noexcept {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!temp_.empty()) {
    std::error_code ec;
    fs::remove(NativePath(temp_), ec);
    temp_.clear();
  }
  used_ = 0;
}

}  // namespace carteloom
