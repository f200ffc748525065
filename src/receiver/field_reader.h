#pragma once
// Receiver files are read as one stream of fields: a field ends at a comma
// or a line end (CR LF, or LF alone), and a field in double quotes may hold
// both. The file is read in large blocks; memory grows only with the longest
// single field. (MID files have a reader of their own, mif/mid_reader.h.)
#include <cstdint>
#include <string>
#include <string_view>

#include "files/block_reader.h"

namespace carteloom {

class FieldReader : public BlockReader {
 public:
  // Opens the file; throws FileError naming the path and the reason.
  explicit FieldReader(const std::string& path) : BlockReader(path) {}
  // Reads source; name stands for it in messages.
  FieldReader(std::string name, std::unique_ptr<ByteSource> source)
      : BlockReader(std::move(name), std::move(source)) {}
  // Reads from text held in memory (tests, fuzzing).
  static FieldReader FromText(std::string text) { return FieldReader(InMemory{}, std::move(text)); }

  // True when nothing is left to read. Ask before every ReadField.
  bool AtEnd();
  // The next field, kept as the text the file holds. The view stays valid
  // until the next call of AtEnd or ReadField.
  std::string_view ReadField();
  // The line (from 1) on which the last field read starts, for messages.
  std::uint64_t Line() const { return fieldLine_; }

 private:
  using BlockReader::BlockReader;
  std::string_view ReadQuoted();
  void SkipPastSeparator();

  std::uint64_t linesEnded_ = 0;  // LFs read so far
  std::uint64_t fieldLine_ = 0;
};

// The number at the start of a text: blanks, tabs, CR and LF skipped, an
// optional sign, digits, optionally "." and digits. 0 when there is none.
double LeadingNumber(std::string_view text);

// A receiver coordinate field (ddmm.mmm or dddmm.mmm) as decimal degrees.
// Degrees are the whole hundreds of the value, so a field that lost its
// leading zero still reads right.
double DecimalDegrees(std::string_view text);

// "S" and "W" make a coordinate negative; any other letter leaves it.
double WithHemisphere(double degrees, std::string_view hemisphere);

}  // namespace carteloom
