#include "app/text_bytes.h"

#include <QDir>
#include <QFile>
#include <string_view>

#include "files/charset_codec.h"

namespace carteloom {

QString ShownText(const std::string& text) {
  const std::string_view bytes(text);
  const auto utf8Length = [&bytes](std::size_t at) { return Utf8SequenceLength(bytes.substr(at)); };
  QString shown;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = at;
    while (end < text.size()) {
      const std::size_t length = utf8Length(end);
      if (length == 0) break;
      end += length;
    }
    shown += QString::fromUtf8(text.data() + at, static_cast<qsizetype>(end - at));
    at = end;
    // Bytes that are not UTF-8 come from a path. A double-byte character of
    // a local code page is kept whole: its second byte may look like ASCII.
    while (end < text.size() && utf8Length(end) == 0) {
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
