#pragma once
// A file read front to back in large blocks, or a text held in memory (tests,
// fuzzing): the common ground of the field reader and the MID reader. The
// bytes from keep_ on stay in the buffer when it is refilled, moved to its
// front, so a reader can hold on to what it has not finished with; memory
// grows only with that.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace carteloom {

// How far a reader is into the input of the current entry, in bytes: the
// batch's progress bar hears it.
class ReadProgress {
 public:
  virtual ~ReadProgress() = default;
  virtual void ReadTo(std::uint64_t offset) = 0;
};

// Bytes that come from elsewhere than a file of the system (GDAL's virtual
// files): Read fills up to size bytes and gives how many, 0 at the end; it
// throws FileError when the bytes cannot be read.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::size_t Read(char* into, std::size_t size) = 0;
};

class BlockReader {
 public:
  BlockReader(BlockReader&& other) noexcept;
  BlockReader(const BlockReader&) = delete;
  BlockReader& operator=(const BlockReader&) = delete;
  BlockReader& operator=(BlockReader&&) = delete;
  ~BlockReader();

  // ReportProgress() tells progress how far into the file the reader has read.
  void ReportTo(ReadProgress* progress) { progress_ = progress; }
  // On the batch's thread only, as the batch's user hears of progress there;
  // the reading itself may go on on another.
  void ReportProgress() const;
  // The bytes taken so far.
  std::uint64_t Consumed() const { return bufferStart_ + pos_; }

 protected:
  static constexpr std::size_t kBlockSize = 1 << 18;
  // Opens the file; throws FileError naming the path and the reason. Tests
  // read in small blocks to meet every way a line can fall across two.
  explicit BlockReader(const std::string& path, std::size_t blockSize = kBlockSize);
  // Reads source, which name stands for in messages.
  BlockReader(std::string name, std::unique_ptr<ByteSource> source);
  struct InMemory {};
  BlockReader(InMemory, std::string text);

  // Makes at least one more byte available at buffer_[end_]; false at the
  // end. Throws FileError when the file cannot be read, BatchStopped when a
  // stop was requested.
  bool More();
  bool Peek(char& c) {
    if (pos_ == end_ && !More()) return false;
    c = buffer_[pos_];
    return true;
  }

  std::vector<char> buffer_;
  std::size_t pos_ = 0;   // next unread byte
  std::size_t end_ = 0;   // end of the bytes read so far
  std::size_t keep_ = 0;  // the first byte still wanted

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
  std::unique_ptr<ByteSource> source_;
  ReadProgress* progress_ = nullptr;
  std::uint64_t bufferStart_ = 0;  // the file offset of buffer_[0]
  std::atomic<std::uint64_t> read_{0};  // bytes read from the file
  bool eof_ = false;
};

}  // namespace carteloom
