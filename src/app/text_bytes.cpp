#include "app/text_bytes.h"

#include <QDir>
#include <QFile>

namespace carteloom {
namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of the well-formed UTF-8 sequence at text[at], 0 when there is none.
std::size_t Utf8Length(const std::string& text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (at + length > text.size() || byte(at + 1) < low || byte(at + 1) > high) return 0;
  for (std::size_t i = at + 2; i < at + length; ++i) {
    if (!IsContinuation(byte(i))) return 0;
  }
  return length;
}

}  // namespace

QString ShownText(const std::string& text) {
  QString shown;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = at;
    while (end < text.size()) {
      const std::size_t length = Utf8Length(text, end);
      if (length == 0) break;
      end += length;
    }
    shown += QString::fromUtf8(text.data() + at, static_cast<qsizetype>(end - at));
    at = end;
    // Bytes that are not UTF-8 come from a path. A double-byte character of
    // a local code page is kept whole: its second byte may look like ASCII.
    while (end < text.size() && Utf8Length(text, end) == 0) {
      end += static_cast<unsigned char>(text[end]) >= 0x81 && end + 1 < text.size() ? 2 : 1;
    }
    shown += QFile::decodeName(QByteArray(text.data() + at, static_cast<qsizetype>(end - at)));
    at = end;
  }
  return shown;
}

std::string PathBytes(const QString& path) { return QFile::encodeName(QDir::toNativeSeparators(path)).toStdString(); }

QString PathText(const std::string& bytes) {
  return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

}  // namespace carteloom
