#include "app/text_bytes.h"

#include <QDir>
#include <QFile>

#include "files/charset_codec.h"

namespace carteloom {

QString ShownText(const std::string& text) {
  QString shown;
  for (const TextStretch& stretch : Stretches(text)) {
    const QByteArray bytes(stretch.bytes.data(), static_cast<qsizetype>(stretch.bytes.size()));
    shown += stretch.utf8 ? QString::fromUtf8(bytes) : QFile::decodeName(bytes);
  }
  return shown;
}

std::string PathBytes(const QString& path) { return QFile::encodeName(QDir::toNativeSeparators(path)).toStdString(); }

QString PathText(const std::string& bytes) {
  return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

}  // namespace carteloom
