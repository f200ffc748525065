#pragma once
// Receiver and MID files are read as one stream of fields: a field ends at a
// comma or a line end (CR LF, or LF alone), and a field in double quotes may
// hold both. The file is read in large blocks; memory grows only with the
// longest single field.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace carteloom {

class FieldReader {
 public:
  // Opens the file; throws FileError naming the path and the reason.
  explicit FieldReader(const std::string& path);
  // Reads from text held in memory (tests, fuzzing).
  static FieldReader FromText(std::string text);
  ~FieldReader();
  FieldReader(FieldReader&& other) noexcept;
  FieldReader(const FieldReader&) = delete;
  FieldReader& operator=(const FieldReader&) = delete;
  FieldReader& operator=(FieldReader&&) = delete;

  // True when nothing is left to read. Ask before every ReadField.
  bool AtEnd();
  // The next field, kept as the text the file holds. The view stays valid
  // until the next call of AtEnd or ReadField.
  std::string_view ReadField();

 private:
  FieldReader() = default;
  // Makes at least one more byte available at buffer_[end_]; false at the end.
  bool More();
  bool Peek(char& c) {
    if (pos_ == end_ && !More()) return false;
    c = buffer_[pos_];
    return true;
  }
  std::string_view ReadQuoted();
  void SkipPastSeparator();

  std::string path_;
  std::FILE* file_ = nullptr;
  bool eof_ = false;
  std::vector<char> buffer_;
  std::size_t pos_ = 0;    // next unread byte
  std::size_t end_ = 0;    // end of the bytes read so far
  std::size_t keep_ = 0;   // start of the field being read: kept across refills
};

// The number at the start of a text: blanks, tabs, CR and LF skipped, an
// optional sign, digits, optionally "." and digits. 0 when there is none.
double LeadingNumber(std::string_view text);

// A receiver coordinate field (ddmm.mmm or dddmm.mmm) as decimal degrees.
// Degrees are the whole hundreds of the value, so a field that lost its
// leading zero still reads right; width (2 or 3) names the kind of field.
double DecimalDegrees(std::string_view text, int width);

// "S" and "W" make a coordinate negative; any other letter leaves it.
double WithHemisphere(double degrees, std::string_view hemisphere);

}  // namespace carteloom
