#include "mif/mid_reader.h"

#include <algorithm>
#include <cstring>

#include "files/charset_codec.h"
#include "mif/mif_charset.h"

namespace carteloom {
namespace {
// How much of the MID from the first name beyond ASCII on tells its character set.
constexpr std::size_t kJudgedBytes = 1 << 16;
}  // namespace

MidReader::MidReader(const std::string& path, char delimiter, std::size_t blockSize)
    : BlockReader(path, blockSize), delimiter_(delimiter) {}

MidReader::MidReader(InMemory, std::string text, char delimiter)
    : BlockReader(InMemory{}, std::move(text)), delimiter_(delimiter) {}

MidReader MidReader::FromText(std::string text, char delimiter) {
  return MidReader(InMemory{}, std::move(text), delimiter);
}

MidReader::MidReader(MidReader&&) noexcept = default;
MidReader::~MidReader() = default;

void MidReader::NamesIn(std::string_view charset) {
  judgeNeutral_ = IsNeutralCharset(charset);
  std::optional<int> codePage = CodePageOfMifCharset(charset);
  if (codePage && *codePage != kGbkCodePage) recoder_ = std::make_unique<GbkRecoder>(*codePage);
}

// The name and what follows it in the file decide, once for the whole file.
void MidReader::JudgeNeutralNames(const std::string& firstName) {
  judgeNeutral_ = false;
  keep_ = pos_;
  bool more = true;
  while (end_ - pos_ < kJudgedBytes && (more = More())) {
  }
  std::string_view next(buffer_.data() + pos_, std::min(end_ - pos_, kJudgedBytes));
  // A row cut short at the edge would read as a broken character.
  if (more && next.rfind('\n') != std::string_view::npos) next = next.substr(0, next.rfind('\n'));
  if (LooksLikeUtf8Names(firstName + std::string(next))) recoder_ = std::make_unique<GbkRecoder>(kUtf8CodePage);
}

// The rest of a quoted value after its opening quote, up to its closing
// quote or the end of the file; "" inside stands for one quote, and a line
// break inside becomes a blank. Appended to value unless that is null.
void MidReader::ReadQuoted(std::string* value) {
  char c = 0;
  while (Get(c)) {
    if (c == '"') {
      if (!Peek(c) || c != '"') return;
      ++pos_;
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && Peek(c) && c == '\n') ++pos_;
      c = ' ';
    }
    if (value != nullptr) value->push_back(c);
  }
}

// The further values of the row, up to and including its line end; a quoted
// one may hold delimiters and line breaks.
void MidReader::SkipRestOfRow() {
  // Most rows hold no quote: their end is their next line end.
  const char* const from = buffer_.data() + pos_;
  const std::size_t left = end_ - pos_;
  if (const void* found = std::memchr(from, '\n', left)) {
    const auto* lineEnd = static_cast<const char*>(found);
    if (std::memchr(from, '"', static_cast<std::size_t>(lineEnd - from)) == nullptr) {
      pos_ += static_cast<std::size_t>(lineEnd - from) + 1;
      return;
    }
  }
  char c = 0;
  while (Get(c)) {
    if (c == '\n') return;
    if (c != delimiter_) continue;
    while (Peek(c) && c == ' ' && c != delimiter_) ++pos_;
    if (Peek(c) && c == '"') {
      ++pos_;
      ReadQuoted(nullptr);
    }
  }
}

bool MidReader::NextRow(std::string& value) {
  keep_ = pos_;
  char c = 0;
  if (!Peek(c)) return false;
  ReadRow(value);
  if (judgeNeutral_ && std::any_of(value.begin(), value.end(), [](char b) { return (b & 0x80) != 0; }))
    JudgeNeutralNames(value);
  if (recoder_ != nullptr) {
    bool replaced = false;
    value = recoder_->Recode(value, &replaced);
    if (replaced) ++replacedNames_;
  }
  return true;
}

void MidReader::ReadRow(std::string& value) {
  value.clear();
  char c = 0;
  while (Peek(c) && c == ' ' && c != delimiter_) ++pos_;

  if (Peek(c) && c == '"') {
    ++pos_;
    ReadQuoted(&value);
    // What stands between the closing quote and the delimiter is no part of the value.
    while (Peek(c) && c != delimiter_ && c != '\n') ++pos_;
  } else {
    // Straight from the buffer when the value ends in it, as nearly all do.
    const char* const from = buffer_.data() + pos_;
    const char* const last = buffer_.data() + end_;
    const char* to = from;
    while (to != last && *to != delimiter_ && *to != '\n') ++to;
    value.assign(from, to);
    pos_ += static_cast<std::size_t>(to - from);
    if (to == last) {
      while (Peek(c) && c != delimiter_ && c != '\n') {
        value.push_back(c);
        ++pos_;
      }
    }
    if (!value.empty() && value.back() == '\r') value.pop_back();
  }
  SkipRestOfRow();
}

}  // namespace carteloom
