#include "app/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <iterator>

#include "app/batch_thread.h"
#include "app/drive_list.h"
#include "app/folder_list.h"
#include "app/frame_style.h"
#include "app/source_list.h"
#include "app/text_bytes.h"
#include "app/window_batch_ui.h"
#include "files/stop_request.h"
#include "to_mif/to_mif_batch.h"
#include "to_receiver/to_receiver_batch.h"

namespace carteloom {

const SourceFileKind kReceiverSourceFiles{"航路点、航迹、航线文件(*.upt;*.log;*.rte)", "*.upt;*.log;*.rte",
                                          "打开要转换的航路点、航迹、航线文件"};
const SourceFileKind kMifSourceFiles{"MapInfo Mif文件 (*.mif)", "*.mif", "打开要转换的MapInfo的Mif文件"};

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr const char* kDuplicateSuffix = "已经添加到源文件列表中!";

// Places a control by its layout in twips, relative to its container.
template <typename Control>
Control* Placed(Control* control, const char* name, int left, int top, int width, int height) {
  control->setObjectName(name);
  control->setGeometry(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                       height / kTwipsPerPixel);
  return control;
}

QGroupBox* Frame(QWidget* window, const char* name, const char* caption, int left, int top, int width, int height) {
  auto* frame = new QGroupBox(QString::fromUtf8(caption), window);
  frame->setStyle(FrameStyle::Instance());
  return Placed(frame, name, left, top, width, height);
}

// A button that Enter clicks as Space does when it has the focus; Qt's
// buttons take Enter only in dialogs.
class Button : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
      if (!event->isAutoRepeat()) click();
      return;
    }
    QPushButton::keyPressEvent(event);
  }
};

Button* PlacedButton(QWidget* frame, const char* name, const char* caption, int left, int top) {
  return Placed(new Button(QString::fromUtf8(caption), frame), name, left, top, 735, 375);
}

}  // namespace

Batches Batches::Converters() {
  return {[](BatchUi& ui, const std::string& folder) { return RunToMifBatch(ui, folder); }, RunToReceiverBatch};
}

MainWindow::MainWindow(Desktop desktop, Batches batches, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      desktop_(std::move(desktop)),
      batches_(std::move(batches)) {
  setObjectName("Frm_Carteloom");
  setWindowTitle(QString::fromUtf8("Trekvane航路点、航迹、航线转换成MapInfo Mif格式"));
  QIcon icon;
  icon.addFile(":/carteloom/icon32.png", QSize(32, 32));
  icon.addFile(":/carteloom/icon16.png", QSize(16, 16));
  setWindowIcon(icon);
  setFixedSize(10965 / kTwipsPerPixel, 8535 / kTwipsPerPixel);

  // The background is the colour of highlighted text: white in the usual schemes.
  QPalette background = palette();
  background.setColor(QPalette::Window, background.color(QPalette::HighlightedText));
  setPalette(background);
  setAutoFillBackground(true);

  BuildControls();
  Connect();

  const QString current = QDir::currentPath();
  for (auto [drives, folder] : {std::pair{drive1_, dir1_}, std::pair{driveTrekvane_, dirTrekvane_}}) {
    drives->SetDrives(MachineDrives());
    folder->ShowFolder(current);
    drives->ShowDriveOf(folder->Path());
  }
  if (QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
}

void MainWindow::BuildControls() {
  auto* banner = Placed(new QLabel(this), "Image1", 2160, 0, 6750, 1500);
  banner->setPixmap(QPixmap(":/carteloom/banner.png"));

  QGroupBox* frame1 = Frame(this, "Frame1", "航路点、航迹、航线源文件", 0, 1560, 5295, 4215);
  origFiles_ = Placed(new SourceList(frame1), "List_OrigFile", 120, 240, 4215, 3765);
  QPushButton* add = PlacedButton(frame1, "Cmd_Add", "添加", 4440, 480);
  QPushButton* remove = PlacedButton(frame1, "Cmd_Remove", "移除", 4440, 1080);

  QGroupBox* frame2 = Frame(this, "Frame2", "目标Mif文件存放路径", 0, 5880, 5295, 2415);
  drive1_ = Placed(new DriveList(frame2), "Drive1", 120, 240, 4215, 315);
  dir1_ = Placed(new FolderList(frame2), "Dir1", 120, 600, 4215, 1665);
  QPushButton* cancel = PlacedButton(frame2, "Cmd_Cancle", "取消", 4440, 1200);
  QPushButton* convert = PlacedButton(frame2, "Cmd_Convert", "转换", 4440, 480);

  QGroupBox* frame3 = Frame(this, "Frame3", "Trekvane航路点、航迹、航线目标文件存放路径", 5400, 5880, 5535, 2415);
  QPushButton* convertTrekvane = PlacedButton(frame3, "Cmd_ConvertTrekvane", "转换", 4680, 480);
  QPushButton* cancelTrekvane = PlacedButton(frame3, "Cmd_CancleTrekvane", "取消", 4680, 1200);
  dirTrekvane_ = Placed(new FolderList(frame3), "Dir_Trekvane", 120, 600, 4455, 1665);
  driveTrekvane_ = Placed(new DriveList(frame3), "Drive_Trekvane", 120, 240, 4455, 315);

  QGroupBox* frame4 = Frame(this, "Frame4", "MapInfo Mif源文件", 5400, 1560, 5535, 4215);
  QPushButton* removeFile = PlacedButton(frame4, "Cmd_RemoveFile", "移除", 4680, 1080);
  QPushButton* addMif = PlacedButton(frame4, "Cmd_addMif", "添加", 4680, 480);
  mifFiles_ = Placed(new SourceList(frame4), "List_MifFile", 120, 240, 4455, 3765);

  progress_ = Placed(new QProgressBar(this), "ProgressBar1", 0, 8280, 10935, 255);
  progress_->setRange(0, 100);
  progress_->setValue(0);
  progress_->setTextVisible(false);

  QWidget* const tabOrder[] = {origFiles_,      add,            remove,       drive1_,        dir1_,
                               cancel,          convert,        convertTrekvane, cancelTrekvane, dirTrekvane_,
                               driveTrekvane_,  removeFile,     addMif,       mifFiles_};
  for (std::size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void MainWindow::Connect() {
  auto button = [this](const char* name) { return findChild<QPushButton*>(name); };
  connect(button("Cmd_Add"), &QPushButton::clicked, this, [this] { AddFiles(*origFiles_, kReceiverSourceFiles); });
  connect(button("Cmd_addMif"), &QPushButton::clicked, this, [this] { AddFiles(*mifFiles_, kMifSourceFiles); });
  connect(button("Cmd_Remove"), &QPushButton::clicked, this, [this] { RemoveSelectedEntries(*origFiles_); });
  connect(button("Cmd_RemoveFile"), &QPushButton::clicked, this, [this] { RemoveSelectedEntries(*mifFiles_); });
  connect(button("Cmd_Convert"), &QPushButton::clicked, this,
          [this] { StartBatch(*origFiles_, *dir1_, batches_.toMif); });
  connect(button("Cmd_ConvertTrekvane"), &QPushButton::clicked, this,
          [this] { StartBatch(*mifFiles_, *dirTrekvane_, batches_.toReceiver); });
  for (const char* name : {"Cmd_Cancle", "Cmd_CancleTrekvane"}) {
    connect(button(name), &QPushButton::clicked, this, &MainWindow::EndProgram);
  }

  for (SourceList* list : {origFiles_, mifFiles_}) {
    // Each dropped file is a choice of its own: files dragged from a search
    // may lie in different folders, which one answer cannot name.
    connect(list, &SourceList::filesDropped, this, [this, list](const QStringList& files) {
      if (BatchRunning()) return;  // the lists belong to the batch until it ends
      for (const QString& file : files) AddAnswer(*list, DialogAnswer({file}));
    });
  }
  for (auto [drives, folder] : {std::pair{drive1_, dir1_}, std::pair{driveTrekvane_, dirTrekvane_}}) {
    connect(drives, &QComboBox::currentIndexChanged, this, [this, drives, folder] { ChangeDrive(*drives, *folder); });
    connect(folder, &FolderList::folderChosen, this,
            [this, drives, folder](const QString& path) { OpenFolder(*folder, *drives, path); });
  }
}

void MainWindow::AddFiles(SourceList& list, const SourceFileKind& kind) {
  const OpenFileRequest request{QString::fromUtf8(kind.filterDescription), QString::fromUtf8(kind.filterPattern),
                                QString::fromUtf8(kind.dialogTitle), QDir::currentPath()};
  if (std::optional<std::string> answer = desktop_.openFiles(this, request)) AddAnswer(list, *answer);
}

void MainWindow::AddAnswer(SourceList& list, const std::string& answer) {
  // The path is shown as a file name, apart from the text: GBK names can be valid UTF-8 too.
  AddSourceFiles(list, answer, [this](const std::string& duplicate) {
    ShowMessage(PathText(duplicate) + QString::fromUtf8(kDuplicateSuffix));
  });
}

void MainWindow::StartBatch(SourceList& list, const FolderList& folder, const Batches::Batch& batch) {
  if (BatchRunning()) return;
  ClearStopRequest();
  SetBusy(true);
  batchUi_ = std::make_unique<WindowBatchUi>(*this, list, *progress_, desktop_, folder.Path());
  batch_ = new BatchThread(
      *batchUi_, [batch, outputFolder = PathBytes(folder.Path())](BatchUi& ui) { return batch(ui, outputFolder); },
      this);
  connect(batch_, &BatchThread::finished, this, &MainWindow::BatchDone);
}

void MainWindow::BatchDone() {
  if (!batch_->Result().stopped) batchUi_->Finish(batch_->Result());
  batch_->deleteLater();
  batch_ = nullptr;
  batchUi_.reset();
  SetBusy(false);
  RefreshPickers();  // the batch may have made folders, or taken time enough for a drive to come
  emit batchFinished();
  if (endRequested_) desktop_.endProgram();
}

void MainWindow::EndProgram() {
  if (BatchRunning()) {
    // Its output being written is discarded as it unwinds; then BatchDone ends the program.
    endRequested_ = true;
    RequestStop();
    // A box the batch waits for is answered for the user: Cancel, or OK where that is the only button.
    for (QDialog* box : findChildren<QDialog*>()) {
      if (box->isVisible()) box->reject();
    }
    return;
  }
  desktop_.endProgram();
}

void MainWindow::ChangeDrive(DriveList& drives, FolderList& folder) {
  // A drive opens at the process's current folder when that lies on it, else at its root.
  const QString root = drives.Drive();
  const QString current = QDir::currentPath();
  OpenFolder(folder, drives, drives.DriveOf(current) == root ? current : root);
}

void MainWindow::OpenFolder(FolderList& folder, DriveList& drives, const QString& path) {
  if (IsReadableFolder(path)) {
    folder.ShowFolder(path);
  } else {
    ShowMessage(QString::fromUtf8("无法读取“%1”，请检查！").arg(QDir::toNativeSeparators(path)));
  }
  drives.ShowDriveOf(folder.Path());
}

void MainWindow::RefreshPickers() {
  const QStringList drives = MachineDrives();
  for (auto [driveList, folder] : {std::pair{drive1_, dir1_}, std::pair{driveTrekvane_, dirTrekvane_}}) {
    driveList->SetDrives(drives);
    folder->Refresh();
    driveList->ShowDriveOf(folder->Path());
  }
}

void MainWindow::ShowMessage(const QString& text) {
  desktop_.message(this, /*windowUsable=*/false, text, QString::fromUtf8(kMessageTitle));
}

void MainWindow::SetBusy(bool busy) {
  // Only the cancel buttons stay: they stop the batch. The source lists
  // still scroll; the batch works them off.
  for (QPushButton* button : findChildren<QPushButton*>()) {
    if (!button->objectName().startsWith("Cmd_Cancle")) button->setEnabled(!busy);
  }
  for (QWidget* picker : std::initializer_list<QWidget*>{drive1_, dir1_, driveTrekvane_, dirTrekvane_}) {
    picker->setEnabled(!busy);
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (BatchRunning()) {
    // The window stays until the batch has unwound; then the program ends.
    EndProgram();
    event->ignore();
  } else {
    event->accept();
  }
}

void MainWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && !BatchRunning()) RefreshPickers();
}

MainWindow::~MainWindow() {
  if (batch_ == nullptr) return;
  // Stops the batch and waits for it here, while the lists it works on still exist.
  disconnect(batch_, nullptr, this, nullptr);
  delete batch_;
}

}  // namespace carteloom
