#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace carteloom {

bool LoadQtTranslations() {
  // qt_zh_CN names the catalogs of Qt's modules (qtbase_zh_CN ...), which load
  // from the same folder; windeployqt merges them into that one file.
  auto* translator = new QTranslator(QCoreApplication::instance());
  for (const QString& folder :
       {QCoreApplication::applicationDirPath() + "/translations", QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
    if (translator->load("qt_zh_CN", folder)) return QCoreApplication::installTranslator(translator);
  }
  delete translator;
  return false;
}

}  // namespace carteloom
