#include "app/drive_list.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QStorageInfo>

namespace carteloom {
namespace {

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseSensitive;
#endif

bool HoldsPath(const QString& root, const QString& path) {
  if (path.compare(root, kPathCase) == 0) return true;
  const QString prefix = root.endsWith('/') ? root : root + '/';
  return path.startsWith(prefix, kPathCase);
}

}  // namespace

QStringList MachineDrives() {
  QStringList roots;
#ifdef Q_OS_WIN
  for (const QFileInfo& drive : QDir::drives()) roots << drive.absoluteFilePath();
#else
  // Volumes mounted over single files are no drives.
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (QFileInfo(volume.rootPath()).isDir()) roots << volume.rootPath();
  }
#endif
  const QString current = QStorageInfo(QDir::currentPath()).rootPath();
  if (!current.isEmpty()) roots << current;
  roots.removeDuplicates();
  roots.sort(kPathCase);
  return roots;
}

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {}

void DriveList::SetDrives(const QStringList& roots) {
  const QSignalBlocker quiet(this);
  clear();
  for (const QString& root : roots) addItem(QDir::toNativeSeparators(root), root);
}

QString DriveList::DriveOf(const QString& path) const {
  QString best;
  for (int i = 0; i < count(); ++i) {
    const QString root = itemData(i).toString();
    if (root.size() > best.size() && HoldsPath(root, path)) best = root;
  }
  return best;
}

void DriveList::ShowDriveOf(const QString& path) {
  const QSignalBlocker quiet(this);
  setCurrentIndex(findData(DriveOf(path)));
}

}  // namespace carteloom
