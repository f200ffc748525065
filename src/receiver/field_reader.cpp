#include "receiver/field_reader.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "files/short_decimal.h"

namespace carteloom {
namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The first comma or LF in [p, stop), or stop. Fields are short but many,
// so eight bytes are tested at a time where the machine allows it.
const char* FieldEnd(const char* p, const char* stop) {
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighs = 0x8080808080808080;
    while (stop - p >= 8) {
      std::uint64_t word;
      std::memcpy(&word, p, 8);
      const std::uint64_t commas = word ^ (kOnes * ',');
      const std::uint64_t lineFeeds = word ^ (kOnes * '\n');
      // A zero byte in either marks a hit; the lowest flagged byte is the first hit.
      const std::uint64_t hits = ((commas - kOnes) & ~commas & kHighs) | ((lineFeeds - kOnes) & ~lineFeeds & kHighs);
      if (hits != 0) return p + std::countr_zero(hits) / 8;
      p += 8;
    }
  }
  while (p != stop && *p != ',' && *p != '\n') ++p;
  return p;
}
}  // namespace

bool FieldReader::AtEnd() {
  keep_ = pos_;
  return pos_ == end_ && !More();
}

std::string_view FieldReader::ReadField() {
  char c = 0;
  keep_ = pos_;
  fieldLine_ = linesEnded_ + 1;
  while (Peek(c) && IsBlank(c)) keep_ = ++pos_;
  if (pos_ < end_ && c == '"') return ReadQuoted();

  // keep_ marks the field's first byte; refills may move it, so the view
  // is formed from keep_ only once the field is complete.
  for (;;) {
    const char* base = buffer_.data();
    const char* stop = base + end_;
    const char* p = FieldEnd(base + pos_, stop);
    if (p != stop) {
      std::size_t fieldEnd = static_cast<std::size_t>(p - base);
      if (*p == '\n') {
        ++linesEnded_;
        if (fieldEnd > keep_ && base[fieldEnd - 1] == '\r') --fieldEnd;
      }
      pos_ = static_cast<std::size_t>(p - base) + 1;
      return {base + keep_, fieldEnd - keep_};
    }
    pos_ = end_;
    if (!More()) {
      std::size_t fieldEnd = pos_;
      if (fieldEnd > keep_ && buffer_[fieldEnd - 1] == '\r') --fieldEnd;  // last line ending in CR alone
      return {buffer_.data() + keep_, fieldEnd - keep_};
    }
  }
}

std::string_view FieldReader::ReadQuoted() {
  keep_ = ++pos_;  // after the opening quote
  for (;;) {
    const void* hit = std::memchr(buffer_.data() + pos_, '"', end_ - pos_);
    if (hit != nullptr) {
      std::size_t close = static_cast<std::size_t>(static_cast<const char*>(hit) - buffer_.data());
      pos_ = close + 1;
      // Whatever follows the closing quote up to the separator is not part
      // of the field; skipping it may refill, which moves keep_.
      std::size_t length = close - keep_;
      linesEnded_ += static_cast<std::uint64_t>(std::count(buffer_.data() + keep_, buffer_.data() + close, '\n'));
      SkipPastSeparator();
      return {buffer_.data() + keep_, length};
    }
    pos_ = end_;
    if (!More()) {
      linesEnded_ += static_cast<std::uint64_t>(std::count(buffer_.data() + keep_, buffer_.data() + pos_, '\n'));
      return {buffer_.data() + keep_, pos_ - keep_};
    }
  }
}

void FieldReader::SkipPastSeparator() {
  char c = 0;
  while (Peek(c)) {
    ++pos_;
    if (c == '\n') ++linesEnded_;
    if (c == ',' || c == '\n') return;
  }
}

double LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::size_t digitsStart = i;
  bool anyDigit = false;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') { ++i; anyDigit = true; }
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') { ++i; anyDigit = true; }
  }
  if (!anyDigit) return 0;
  double value = 0;
  if (!ShortDecimal(text.substr(digitsStart, i - digitsStart), value))
    std::from_chars(text.data() + digitsStart, text.data() + i, value, std::chars_format::fixed);
  return negative ? -value : value;
}

double DecimalDegrees(std::string_view text) {
  double value = LeadingNumber(text);
  double degrees = std::trunc(value / 100);
  return degrees + (value - 100 * degrees) / 60;
}

double WithHemisphere(double degrees, std::string_view hemisphere) {
  return (hemisphere == "S" || hemisphere == "W") ? -degrees : degrees;
}

}  // namespace carteloom
