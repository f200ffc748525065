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

void MidReader::SkipRestOfRow() {
  char c = 0;
  while (Get(c) && c != '\n') {
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
    while (Get(c)) {
      if (c == '\n') {  // an unclosed quote ends with its row
        if (!value.empty() && value.back() == '\r') value.pop_back();
        return true;
      }
      if (c == '"') {
        if (Peek(c) && c == '"') {
          ++pos_;
        } else {
          break;
        }
      }
      value.push_back(c);
    }
    SkipRestOfRow();
    return true;
  }

  while (Get(c)) {
    if (c == '\n') break;
    if (c == delimiter_) {
      SkipRestOfRow();
      break;
    }
    value.push_back(c);
  }
  if (!value.empty() && value.back() == '\r') value.pop_back();
  return true;
}

}  // namespace carteloom
