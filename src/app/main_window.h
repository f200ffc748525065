#pragma once
// Frm_Carteloom, the program's window: receiver files to MIF on the left,
// MIF to receiver files on the right, the progress bar along the bottom.
// A batch runs on a thread of its own while the window stays live; it
// cannot start another batch meanwhile, and 取消 or closing the window stops
// it cleanly before the program ends.
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "app/desktop.h"
#include "batch/batch_ui.h"

class QProgressBar;

namespace carteloom {

class BatchThread;
class DriveList;
class FolderList;
class SourceList;
class WindowBatchUi;

// What the convert buttons start; tests put in their own.
struct Batches {
  using Batch = std::function<BatchResult(BatchUi& ui, const std::string& outputFolder)>;
  Batch toMif;
  Batch toReceiver;

  static Batches Converters();
};

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
  explicit MainWindow(Desktop desktop = Desktop::Platform(), Batches batches = Batches::Converters(),
                      QWidget* parent = nullptr);
  ~MainWindow() override;

  bool BatchRunning() const { return batch_ != nullptr; }

 signals:
  // A batch is over, its last box answered and the window usable again.
  void batchFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // The folder and drive lists are listed anew when the window is active
  // again: folders or drives may have come or gone meanwhile.
  void changeEvent(QEvent* event) override;

 private:
  void BuildControls();
  void Connect();
  void AddFiles(SourceList& list, const SourceFileKind& kind);
  void AddAnswer(SourceList& list, const std::string& answer);
  void StartBatch(SourceList& list, const FolderList& folder, const Batches::Batch& batch);
  void BatchDone();
  void EndProgram();
  void ChangeDrive(DriveList& drives, FolderList& folder);
  void OpenFolder(FolderList& folder, DriveList& drives, const QString& path);
  void RefreshPickers();
  void ShowMessage(const QString& text);
  void SetBusy(bool busy);

  Desktop desktop_;
  Batches batches_;
  std::unique_ptr<WindowBatchUi> batchUi_;
  BatchThread* batch_ = nullptr;
  bool endRequested_ = false;  // the program ends once the batch has unwound
  SourceList* origFiles_ = nullptr;
  SourceList* mifFiles_ = nullptr;
  DriveList* drive1_ = nullptr;
  DriveList* driveTrekvane_ = nullptr;
  FolderList* dir1_ = nullptr;
  FolderList* dirTrekvane_ = nullptr;
  QProgressBar* progress_ = nullptr;
};

}  // namespace carteloom
