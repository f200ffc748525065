#pragma once
// Reading a MID file row by row: row k holds the values of MIF object k,
// and the first column is the one that names it. Names reach the receiver
// as GBK, whatever character set the pair was written in.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "files/block_reader.h"

namespace carteloom {

class GbkRecoder;

class MidReader : public BlockReader {
 public:
  // Opens the file; throws FileError naming the path and the reason. Tests
  // read in small blocks to meet every way a row can fall across two.
  MidReader(const std::string& path, char delimiter, std::size_t blockSize = kBlockSize);
  // Reads from text held in memory (tests, fuzzing).
  static MidReader FromText(std::string text, char delimiter);
  MidReader(MidReader&&) noexcept;
  ~MidReader();

  // From here on names are recoded to GBK from the charset the MIF header
  // names: "WindowsSimpChinese" and unknown ones are taken as they are, and
  // "Neutral" (or none) is judged from the MID's own bytes at the first name
  // beyond ASCII, as this system writes GBK there and GDAL UTF-8.
  void NamesIn(std::string_view charset);

  // The first column of the next row into value; false when no row is left.
  // Rows end at LF or CR LF. A value in double quotes is taken without them
  // and runs to its closing quote, across line ends (each read as a blank);
  // "" inside reads as one ". Throws FileError when the file cannot be read.
  bool NextRow(std::string& value);

  // How many names held a character that GBK cannot hold ("?" in its place).
  std::size_t ReplacedNames() const { return replacedNames_; }

 private:
  MidReader(InMemory, std::string text, char delimiter);
  // Byte access stays inline: it runs once for every byte of the file.
  bool Get(char& c) {
    if (!Peek(c)) return false;
    ++pos_;
    return true;
  }
  void ReadRow(std::string& value);
  void ReadQuoted(std::string* value);
  void SkipRestOfRow();
  void JudgeNeutralNames(const std::string& firstName);

  char delimiter_;
  bool judgeNeutral_ = false;
  std::unique_ptr<GbkRecoder> recoder_;
  std::size_t replacedNames_ = 0;
};

}  // namespace carteloom
