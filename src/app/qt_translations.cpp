#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace carteloom {

bool LoadQtTranslations() {
  auto* translator = new QTranslator(QCoreApplication::instance());
  // A "translations" folder beside the program comes first (windeployqt
  // fills one, where qt_zh_CN names the catalogs of Qt's modules, which load
  // from the same folder); then the catalog built into the program; then Qt's own folder.
  const bool loaded = translator->load("qt_zh_CN", QCoreApplication::applicationDirPath() + "/translations") ||
                      translator->load("qtbase_zh_CN", ":/carteloom/translations") ||
                      translator->load("qt_zh_CN", QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  if (loaded) return QCoreApplication::installTranslator(translator);
  delete translator;
  return false;
}

}  // namespace carteloom
