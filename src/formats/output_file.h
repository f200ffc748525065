#pragma once
// An output file that appears only when it is complete: bytes go to a
// temporary file beside the target, which replaces the target on Commit().
// A file that is never committed leaves the target untouched.
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace carteloom {

class OutputFile {
 public:
  // Creates the temporary file; throws FileError naming targetPath.
  explicit OutputFile(std::string targetPath);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Room for up to n bytes at the end of the buffer, to be written in place
  // and kept with Advance(end): writers that know a bound on the length of
  // what they write build it there without a copy.
  char* Room(std::size_t n) {
    if (capacity_ - used_ < n) MakeRoom(n);
    return buffer_.get() + used_;
  }
  void Advance(const char* end) {
    used_ = static_cast<std::size_t>(end - buffer_.get());
    Settle();
  }
  // The bytes followed by CR LF, on every platform.
  void WriteLine(std::string_view bytes);

  // Writes out every byte and closes the temporary file; throws FileError.
  // Commit then only moves it, so that the outputs of one source can all be
  // complete before the first of them replaces anything.
  void Close();
  // Moves the finished file into place; throws FileError.
  void Commit();
  // Removes the temporary file; the target stays as it was.
  void Discard() noexcept;

 private:
  static constexpr std::size_t kFlushSize = 1 << 20;
  void Settle() {
    if (used_ >= kFlushSize) Flush();
  }
  void MakeRoom(std::size_t n);
  void Flush();

  std::string target_;
  std::string temp_;
  std::FILE* file_ = nullptr;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace carteloom
