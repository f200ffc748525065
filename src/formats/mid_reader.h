#pragma once
// Reading a MID file row by row: row k holds the values of MIF object k,
// and the first column is the one that names it. The file is streamed in
// blocks; memory grows only with the longest first value.
#include <cstdio>
#include <string>
#include <vector>

namespace carteloom {

class GbkRecoder;

class MidReader {
 public:
  // Opens the file; throws FileError naming the path and the reason.
  MidReader(const std::string& path, char delimiter);
  // Reads from text held in memory (tests).
  static MidReader FromText(std::string text, char delimiter);
  ~MidReader();
  MidReader(MidReader&& other) noexcept;
  MidReader(const MidReader&) = delete;
  MidReader& operator=(const MidReader&) = delete;
  MidReader& operator=(MidReader&&) = delete;

  // The first column of the next row into value; false when no row is left.
  // Rows end at LF or CR LF. A value in double quotes is taken without them
  // and runs to its closing quote, across line ends (each read as a blank);
  // "" inside reads as one ".
  // Throws FileError when the file cannot be read.
  bool NextRow(std::string& value);

  // From here on names are recoded to GBK by recoder (not owned); nullptr
  // keeps their bytes.
  void RecodeWith(GbkRecoder* recoder) { recoder_ = recoder; }
  // How many names held a character that GBK cannot hold ("?" in its place).
  std::size_t ReplacedNames() const { return replacedNames_; }

 private:
  MidReader(std::string path, char delimiter, std::FILE* file);
  bool ReadRow(std::string& value);
  // Byte access stays inline: it runs once for every byte of the file.
  bool Peek(char& c) {
    if (pos_ == end_ && !Refill()) return false;
    c = buffer_[pos_];
    return true;
  }
  bool Get(char& c) {
    if (!Peek(c)) return false;
    ++pos_;
    return true;
  }
  // Reads the next block; false at the end of the file.
  bool Refill();
  void ReadQuoted(std::string* value);
  void SkipRestOfRow();

  std::string path_;
  char delimiter_;
  std::FILE* file_ = nullptr;
  bool eof_ = false;
  std::vector<char> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  GbkRecoder* recoder_ = nullptr;
  std::size_t replacedNames_ = 0;
};

}  // namespace carteloom
