#include "app/folder_list.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStyle>

namespace carteloom {
namespace {

constexpr int kPathRole = Qt::UserRole;

// The folder and its ancestors, root first.
QStringList FoldersFromRoot(const QString& path) {
  QStringList chain{QDir::cleanPath(path)};
  for (;;) {
    const QString parent = QFileInfo(chain.front()).path();
    if (parent == chain.front() || parent == ".") break;
    chain.prepend(parent);
  }
  return chain;
}

QTreeWidgetItem* FolderItem(const QString& path, const QString& label, const QIcon& icon) {
  auto* item = new QTreeWidgetItem(QStringList{label});
  item->setIcon(0, icon);
  item->setData(0, kPathRole, path);
  item->setToolTip(0, QDir::toNativeSeparators(path));
  return item;
}

}  // namespace

bool IsReadableFolder(const QString& path) {
  const QFileInfo info(path);
  return info.isDir() && info.isReadable() && info.isExecutable();
}

FolderList::FolderList(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setIndentation(12);
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { emit folderChosen(item->data(0, kPathRole).toString()); });
}

void FolderList::ShowFolder(const QString& path) {
  path_ = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  clear();
  const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);

  QTreeWidgetItem* current = nullptr;
  for (const QString& folder : FoldersFromRoot(path_)) {
    const QString name = QFileInfo(folder).fileName();
    QTreeWidgetItem* item = FolderItem(folder, name.isEmpty() ? QDir::toNativeSeparators(folder) : name, open);
    if (current == nullptr) {
      addTopLevelItem(item);
    } else {
      current->addChild(item);
    }
    current = item;
  }
  const QFileInfoList subfolders =
      QDir(path_).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QFileInfo& subfolder : subfolders) {
    current->addChild(FolderItem(subfolder.absoluteFilePath(), subfolder.fileName(), closed));
  }
  expandAll();
  setCurrentItem(current);
  scrollToItem(current);
}

}  // namespace carteloom
