#pragma once
// A folder list: the folders from the root down to the current one, and the
// subfolders of the current one. A double click (or Enter) on a folder asks
// the window to open it; the current folder is the output folder. It is the
// one shown open and in bold; a folder merely clicked is only highlighted,
// and the list's tooltip names the output folder in full. The list scrolls
// so that the current folder shows with its parent above it and as many of
// its subfolders below it as fit.
#include <QString>
#include <QTreeWidget>

namespace carteloom {

class FolderList : public QTreeWidget {
  Q_OBJECT

 public:
  explicit FolderList(QWidget* parent = nullptr);

  // The current folder, with "/" separators.
  QString Path() const { return path_; }
  // Shows `path` as the current folder; the caller has checked that it can be read.
  void ShowFolder(const QString& path);
  // Lists the folders anew (some may have come or gone), keeping the
  // current folder and the highlighted one, both in view.
  void Refresh();

 signals:
  void folderChosen(const QString& path);

 protected:
  // The levels show by indentation alone; there is nothing to fold.
  void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}
  // Only a list that is shown knows how many rows it has room for.
  void showEvent(QShowEvent* event) override;

 private:
  void ScrollToCurrentFolder();

  QString path_;
  QTreeWidgetItem* current_ = nullptr;
};

// True when the folder exists and its entries can be read.
bool IsReadableFolder(const QString& path);

}  // namespace carteloom
