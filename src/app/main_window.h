#pragma once
// Frm_Carteloom, the program's window: receiver files to MIF on the left,
// MIF to receiver files on the right, the progress bar along the bottom.
#include <QWidget>
#include <functional>
#include <string>

#include "app/desktop.h"
#include "formats/batch_ui.h"

class QProgressBar;

namespace carteloom {

class DriveList;
class FolderList;
class SourceList;

// What the open-file dialog of a source list asks for.
struct SourceFileKind {
  const char* filterDescription;
  const char* filterPattern;
  const char* dialogTitle;
};
extern const SourceFileKind kReceiverSourceFiles;
extern const SourceFileKind kMifSourceFiles;

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  explicit MainWindow(Desktop desktop = Desktop::Platform(), QWidget* parent = nullptr);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  using Batch = std::function<void(BatchUi&, const std::string& outputFolder)>;

  void BuildControls();
  void Connect();
  void AddFiles(SourceList& list, const SourceFileKind& kind);
  void AddAnswer(SourceList& list, const std::string& answer);
  void RunBatch(SourceList& list, const FolderList& folder, const Batch& batch);
  void ChangeDrive(DriveList& drives, FolderList& folder);
  void OpenFolder(FolderList& folder, DriveList& drives, const QString& path);
  void ShowMessage(const QString& text);
  void SetBusy(bool busy);

  Desktop desktop_;
  bool busy_ = false;
  SourceList* origFiles_ = nullptr;
  SourceList* mifFiles_ = nullptr;
  DriveList* drive1_ = nullptr;
  DriveList* driveTrekvane_ = nullptr;
  FolderList* dir1_ = nullptr;
  FolderList* dirTrekvane_ = nullptr;
  QProgressBar* progress_ = nullptr;
};

}  // namespace carteloom
