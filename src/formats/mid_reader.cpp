#include "formats/mid_reader.h"

#include <cerrno>

#include "formats/charset_codec.h"
#include "formats/file_error.h"
#include "formats/native_path.h"

namespace carteloom {
namespace {
constexpr std::size_t kBlockSize = 1 << 16;
}

MidReader::MidReader(std::string path, char delimiter, std::FILE* file)
    : path_(std::move(path)), delimiter_(delimiter), file_(file) {}

MidReader::MidReader(const std::string& path, char delimiter) : MidReader(path, delimiter, nullptr) {
  errno = 0;
  file_ = OpenFile(path, "rb");
  if (file_ == nullptr) throw FileError(path, ReasonForErrno(errno != 0 ? errno : ENOENT));
  buffer_.resize(kBlockSize);
}

MidReader MidReader::FromText(std::string text, char delimiter) {
  MidReader reader(std::string(), delimiter, nullptr);
  reader.buffer_.assign(text.begin(), text.end());
  reader.end_ = reader.buffer_.size();
  return reader;
}

MidReader::MidReader(MidReader&& other) noexcept
    : path_(std::move(other.path_)),
      delimiter_(other.delimiter_),
      file_(other.file_),
      eof_(other.eof_),
      buffer_(std::move(other.buffer_)),
      pos_(other.pos_),
      end_(other.end_),
      recoder_(other.recoder_),
      replacedNames_(other.replacedNames_) {
  other.file_ = nullptr;
}

MidReader::~MidReader() {
  if (file_ != nullptr) std::fclose(file_);
}

bool MidReader::Refill() {
  if (file_ == nullptr || eof_) return false;
  errno = 0;
  end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
  pos_ = 0;
  if (end_ == 0) {
    if (std::ferror(file_)) throw FileError(path_, ReasonForErrno(errno != 0 ? errno : EIO));
    eof_ = true;  // a layer longer than its MID asks again for every object
    return false;
  }
  return true;
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
  if (!ReadRow(value)) return false;
  if (recoder_ != nullptr) {
    bool replaced = false;
    value = recoder_->Recode(value, &replaced);
    if (replaced) ++replacedNames_;
  }
  return true;
}

bool MidReader::ReadRow(std::string& value) {
  value.clear();
  char c = 0;
  if (!Peek(c)) return false;
  while (Peek(c) && c == ' ' && c != delimiter_) ++pos_;

  if (Peek(c) && c == '"') {
    ++pos_;
    ReadQuoted(&value);
    // What stands between the closing quote and the delimiter is no part of the value.
    while (Peek(c) && c != delimiter_ && c != '\n') ++pos_;
  } else {
    while (Peek(c) && c != delimiter_ && c != '\n') {
      value.push_back(c);
      ++pos_;
    }
    if (!value.empty() && value.back() == '\r') value.pop_back();
  }
  SkipRestOfRow();
  return true;
}

}  // namespace carteloom
