#include <QApplication>

#include "app/main_window.h"
#include "app/qt_translations.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Carteloom");
  carteloom::LoadQtTranslations();
  carteloom::MainWindow window;
  window.show();
  return QApplication::exec();
}
