#include "files/block_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "files/file_routines.h"
#include "files/stop_request.h"

namespace carteloom {
BlockReader::BlockReader(const std::string& path, std::size_t blockSize) : path_(path) {
  errno = 0;
  file_ = OpenFile(path, "rb");
  if (file_ == nullptr) throw FileError(path, ReasonForErrno(errno != 0 ? errno : ENOENT));
  // A small file gets a small first block: the buffer is zeroed as it grows.
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(NativePath(path), ec);
  const std::size_t smallest = std::min<std::size_t>(4096, blockSize);
  buffer_.resize(ec ? blockSize : static_cast<std::size_t>(std::clamp<std::uintmax_t>(size + 1, smallest, blockSize)));
}

BlockReader::BlockReader(std::string name, std::unique_ptr<ByteSource> source)
    : buffer_(4096), path_(std::move(name)), source_(std::move(source)) {}

BlockReader::BlockReader(InMemory, std::string text) : buffer_(text.begin(), text.end()), end_(text.size()), eof_(true) {
  if (buffer_.empty()) buffer_.resize(1);  // data() is never null
}

BlockReader::BlockReader(BlockReader&& other) noexcept
    : buffer_(std::move(other.buffer_)),
      pos_(other.pos_),
      end_(other.end_),
      keep_(other.keep_),
      path_(std::move(other.path_)),
      file_(std::exchange(other.file_, nullptr)),
      source_(std::move(other.source_)),
      progress_(other.progress_),
      bufferStart_(other.bufferStart_),
      read_(other.read_.load()),
      eof_(other.eof_) {}

BlockReader::~BlockReader() {
  if (file_ != nullptr) std::fclose(file_);
}

void BlockReader::ReportProgress() const {
  if (progress_ != nullptr) progress_->ReadTo(read_.load(std::memory_order_relaxed));
}

bool BlockReader::More() {
  if (eof_) return false;
  StopPoint();
  if (keep_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + keep_, end_ - keep_);
    end_ -= keep_;
    pos_ -= keep_;
    bufferStart_ += keep_;
    keep_ = 0;
  }
  if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
  errno = 0;
  const std::size_t got = source_ ? source_->Read(buffer_.data() + end_, buffer_.size() - end_)
                                  : std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
  if (got == 0) {
    if (file_ != nullptr && std::ferror(file_)) throw FileError(path_, ReasonForErrno(errno != 0 ? errno : EIO));
    eof_ = true;  // and stays so: a layer longer than its MID asks again for every object
    return false;
  }
  end_ += got;
  read_.fetch_add(got, std::memory_order_relaxed);
  return true;
}

}  // namespace carteloom
