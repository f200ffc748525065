#include "app/folder_list.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStyle>

#include "app/list_tool_tips.h"

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
  KeepToolTipsWithin(*this);
  connect(this, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { emit folderChosen(item->data(0, kPathRole).toString()); });
}

void FolderList::ShowFolder(const QString& path) {
  path_ = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  current_ = nullptr;
  clear();
  const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);

  for (const QString& folder : FoldersFromRoot(path_)) {
    const QString name = QFileInfo(folder).fileName();
    QTreeWidgetItem* item = FolderItem(folder, name.isEmpty() ? QDir::toNativeSeparators(folder) : name, open);
    if (current_ == nullptr) {
      addTopLevelItem(item);
    } else {
      current_->addChild(item);
    }
    current_ = item;
  }
  const QFileInfoList subfolders =
      QDir(path_).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QFileInfo& subfolder : subfolders) {
    current_->addChild(FolderItem(subfolder.absoluteFilePath(), subfolder.fileName(), closed));
  }
  expandAll();
  QFont bold = current_->font(0);
  bold.setBold(true);
  current_->setFont(0, bold);
  // The keyboard starts at the current folder, which is not highlighted:
  // a highlight marks a folder clicked but not opened.
  selectionModel()->setCurrentIndex(indexFromItem(current_), QItemSelectionModel::NoUpdate);
  ScrollToCurrentFolder();
  setToolTip(QString::fromUtf8("输出文件夹：%1").arg(QDir::toNativeSeparators(path_)));
}

void FolderList::Refresh() {
  const QList<QTreeWidgetItem*> highlighted = selectedItems();
  const QString highlightedPath =
      highlighted.isEmpty() ? QString() : highlighted.front()->data(0, kPathRole).toString();
  ShowFolder(path_);
  for (QTreeWidgetItemIterator it(this); *it != nullptr; ++it) {
    if (!highlightedPath.isEmpty() && (*it)->data(0, kPathRole).toString() == highlightedPath) {
      setCurrentItem(*it);
      scrollToItem(*it);
    }
  }
}

void FolderList::showEvent(QShowEvent* event) {
  QTreeWidget::showEvent(event);
  ScrollToCurrentFolder();
}

void FolderList::ScrollToCurrentFolder() {
  if (current_ == nullptr) return;
  // The parent at the top: the scroll bar stops at the list's end, so
  // however few subfolders there are, the rest of the rows show folders above.
  scrollToItem(current_->parent() != nullptr ? current_->parent() : current_, QAbstractItemView::PositionAtTop);
}

}  // namespace carteloom
