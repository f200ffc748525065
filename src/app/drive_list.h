#pragma once
// A drive list: the machine's drives (mounted volumes; drive letters on
// Windows) as a drop-down list that shows the chosen one.
#include <QComboBox>
#include <QStringList>

namespace carteloom {

class DriveList : public QComboBox {
  Q_OBJECT

 public:
  explicit DriveList(QWidget* parent = nullptr);

  // Replaces the drives (root paths with "/" separators) without a change signal.
  void SetDrives(const QStringList& roots);
  QString Drive() const { return currentData().toString(); }
  // Shows the drive that holds `path`, without a change signal.
  void ShowDriveOf(const QString& path);
  // The root among the drives that holds `path`; empty when none does.
  QString DriveOf(const QString& path) const;
};

// The drives of this machine.
QStringList MachineDrives();

}  // namespace carteloom
