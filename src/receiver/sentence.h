#pragma once
// Receiver sentences: "$", the body (the tag and its comma-separated
// fields), "*", the checksum of the body and CR LF, built straight in the
// output's buffer piece by piece. The checksum is the XOR of the body's
// bytes, as two upper-case hexadecimal digits. Nothing else may write to the
// output while a sentence is being built.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "files/number_text.h"
#include "files/output_file.h"

namespace carteloom {

class Sentence {
 public:
  // Starts the sentence with its tag ("$" included).
  Sentence(OutputFile& out, std::string_view tag) : out_(out) {
    p_ = out_.Room(kRoom + tag.size());
    limit_ = p_ + kRoom + tag.size();
    std::memcpy(p_, tag.data(), tag.size());
    summed_ = p_ + 1;  // the "$" is no part of the body
    p_ += tag.size();
  }
  Sentence(const Sentence&) = delete;
  Sentence& operator=(const Sentence&) = delete;

  Sentence& Text(std::string_view text) {
    char* p = Reserve(text.size());
    std::memcpy(p, text.data(), text.size());  // inlined for the short literals most pieces are
    p_ = p + text.size();
    return *this;
  }
  // A name from elsewhere: "," "*" "$" CR and LF, which would add a field or
  // a sentence, become "_", as does a '"' that starts the name; blanks before
  // the name are left out (readers skip them); every other byte is kept.
  Sentence& Name(std::string_view name);
  // Decimal digits, padded with zeros to minDigits.
  Sentence& Number(std::uint64_t value, int minDigits = 1) {
    p_ = PutIntegerText(Reserve(static_cast<std::size_t>(minDigits > 20 ? minDigits : 20)), value, minDigits);
    return *this;
  }
  // ddmm.mmm (width 2) or dddmm.mmm (width 3) for non-negative degrees.
  Sentence& DegreesMinutes(double degrees, int width);
  // "*", the checksum and CR LF.
  void End();

 private:
  // Room for a whole sentence but an odd long name; more is had on the way.
  static constexpr std::size_t kRoom = 1024;
  // Room for n more bytes at p_.
  char* Reserve(std::size_t n) {
    if (static_cast<std::size_t>(limit_ - p_) < n) Grow(n);
    return p_;
  }
  void Grow(std::size_t n);

  OutputFile& out_;
  char* summed_;  // the bytes from here to p_ are not in checksum_ yet
  char* p_;
  char* limit_;
  unsigned checksum_ = 0;
};

// The text of non-negative degrees as DegreesMinutes writes it, at out, which
// has room for kMaxDegreesMinutesText bytes; returns its end. The minutes
// are rounded to three decimals with no carry into the degrees.
inline constexpr std::size_t kMaxDegreesMinutesText = 330;
char* PutDegreesMinutesText(char* out, double degrees, int width);

inline Sentence& Sentence::DegreesMinutes(double degrees, int width) {
  p_ = PutDegreesMinutesText(Reserve(kMaxDegreesMinutesText), degrees, width);
  return *this;
}

}  // namespace carteloom
