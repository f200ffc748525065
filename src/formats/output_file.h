#pragma once
// An output file that appears only when it is complete: bytes go to a
// temporary file beside the target, which replaces the target on Commit().
// A file that is never committed leaves the target untouched.
#include <cstdio>
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

  void Write(std::string_view bytes);
  void Write(char byte) {
    buffer_.push_back(byte);
    if (buffer_.size() >= kFlushSize) Flush();
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

  const std::string& TargetPath() const { return target_; }

 private:
  static constexpr std::size_t kFlushSize = 1 << 20;
  void Flush();

  std::string target_;
  std::string temp_;
  std::FILE* file_ = nullptr;
  std::string buffer_;
};

}  // namespace carteloom
