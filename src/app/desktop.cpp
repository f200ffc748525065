#include "app/desktop.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

#include "app/text_bytes.h"

namespace carteloom {
namespace {

// Qt's own file dialog insists that chosen files exist; this one lets a
// typed name through, as the batches report a missing file themselves. The
// platform's dialog (Windows) keeps its own rule: there such a name is refused.
class ChooseFilesDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

  void accept() override {
    // Qt answers with the files highlighted in its list once any are, and
    // it highlights only the typed names it lists: of `"a.upt" "notes.txt"`
    // pasted at once, notes.txt would be lost. Without a highlight Qt takes
    // every typed name (the names in quotes, else the whole text).
    QStringList files = selectedFiles();
    auto* typed = findChild<QLineEdit*>("fileNameEdit");
    auto* listed = findChild<QAbstractItemView*>("listView");
    if (typed != nullptr && listed != nullptr) {
      const QString text = typed->text();
      const qsizetype typedNames = text.contains('"') ? (text.count('"') + 1) / 2 : !text.isEmpty();
      if (typedNames > files.size()) {
        listed->clearSelection();
        files = selectedFiles();
      }
    }
    for (const QString& file : files) {
      // A folder is opened by the dialog itself.
      if (QFileInfo(file).isDir()) {
        QFileDialog::accept();
        return;
      }
    }
    if (files.isEmpty()) return;
    QDialog::accept();
  }
};

// Shows the box until it is answered. A box that leaves its window usable
// stays above it without blocking it, and waits in a loop of its own.
void Answer(QDialog& box, bool windowUsable) {
  if (!windowUsable) {
    box.exec();
    return;
  }
  QEventLoop answered;
  QObject::connect(&box, &QDialog::finished, &answered, &QEventLoop::quit);
  box.setWindowModality(Qt::NonModal);  // a message box makes itself modal
  box.show();
  answered.exec();
}

void ShowMessage(QWidget* owner, bool windowUsable, const QString& text, const QString& title) {
  QMessageBox box(QMessageBox::NoIcon, title, WrappableAtSeparators(text), QMessageBox::Ok, owner);
  Answer(box, windowUsable);
}

bool AskOkCancel(QWidget* owner, bool windowUsable, const QString& text, const QString& title) {
  QMessageBox box(QMessageBox::NoIcon, title, WrappableAtSeparators(text), QMessageBox::Ok | QMessageBox::Cancel,
                  owner);
  box.setDefaultButton(QMessageBox::Ok);
  box.setEscapeButton(QMessageBox::Cancel);
  Answer(box, windowUsable);
  return box.clickedButton() == box.button(QMessageBox::Ok);
}

QString AskText(QWidget* owner, bool windowUsable, const QString& prompt, const QString& title,
                const QString& proposal) {
  QInputDialog box(owner);
  box.setWindowTitle(title);
  box.setLabelText(prompt);
  box.setTextValue(proposal);
  Answer(box, windowUsable);
  return box.result() == QDialog::Accepted ? box.textValue() : QString();
}

std::optional<std::string> ChooseFiles(QWidget* owner, const OpenFileRequest& request) {
  ChooseFilesDialog dialog(owner, request.title, request.initialFolder);
#ifndef Q_OS_WIN
  // Where the platform has no dialog of its own, Qt picks one of a desktop
  // theme, which may not take typed names; Qt's own dialog does.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
#endif
  dialog.setFileMode(QFileDialog::ExistingFiles);
  // Qt reads the patterns from the last parentheses, separated by blanks;
  // only the description is shown.
  QString patterns = request.filterPattern;
  patterns.replace(';', ' ');
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilter(request.filterDescription + " (" + patterns + ")");
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return DialogAnswer(dialog.selectedFiles());
}

}  // namespace

Desktop Desktop::Platform() {
  return Desktop{ShowMessage, AskOkCancel, AskText, ChooseFiles, [] { QCoreApplication::quit(); }};
}

QString WrappableAtSeparators(QString text) {
  const QChar wordJoiner(0x2060);    // no break here
  const QChar zeroWidthSpace(0x200B);  // a place to break a line
  text.replace('-', QString('-') + wordJoiner);
  for (QChar separator : {QChar('/'), QChar('\\')}) text.replace(separator, QString(separator) + zeroWidthSpace);
  return text;
}

std::string DialogAnswer(const QStringList& files) {
  if (files.isEmpty()) return {};
  if (files.size() == 1) return PathBytes(files.front()) + std::string(2, '\0');
  const QDir folder(QFileInfo(files.front()).absolutePath());
  std::string answer = PathBytes(folder.absolutePath()) + '\0';
  for (const QString& file : files) answer += PathBytes(folder.relativeFilePath(file)) + '\0';
  return answer + '\0';
}

}  // namespace carteloom
