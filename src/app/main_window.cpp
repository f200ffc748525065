#include "app/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <exception>
#include <iterator>

#include "app/drive_list.h"
#include "app/folder_list.h"
#include "app/source_list.h"
#include "app/text_bytes.h"
#include "app/window_batch_ui.h"
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
  return Placed(new QGroupBox(QString::fromUtf8(caption), window), name, left, top, width, height);
}

QPushButton* Button(QWidget* frame, const char* name, const char* caption, int left, int top) {
  return Placed(new QPushButton(QString::fromUtf8(caption), frame), name, left, top, 735, 375);
}

}  // namespace

MainWindow::MainWindow(Desktop desktop, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      desktop_(std::move(desktop)) {
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
  QPushButton* add = Button(frame1, "Cmd_Add", "添加", 4440, 480);
  QPushButton* remove = Button(frame1, "Cmd_Remove", "移除", 4440, 1080);

  QGroupBox* frame2 = Frame(this, "Frame2", "目标Mif文件存放路径", 0, 5880, 5295, 2415);
  drive1_ = Placed(new DriveList(frame2), "Drive1", 120, 240, 4215, 315);
  dir1_ = Placed(new FolderList(frame2), "Dir1", 120, 600, 4215, 1665);
  QPushButton* cancel = Button(frame2, "Cmd_Cancle", "取消", 4440, 1200);
  QPushButton* convert = Button(frame2, "Cmd_Convert", "转换", 4440, 480);

  QGroupBox* frame3 = Frame(this, "Frame3", "Trekvane航路点、航迹、航线目标文件存放路径", 5400, 5880, 5535, 2415);
  QPushButton* convertTrekvane = Button(frame3, "Cmd_ConvertTrekvane", "转换", 4680, 480);
  QPushButton* cancelTrekvane = Button(frame3, "Cmd_CancleTrekvane", "取消", 4680, 1200);
  dirTrekvane_ = Placed(new FolderList(frame3), "Dir_Trekvane", 120, 600, 4455, 1665);
  driveTrekvane_ = Placed(new DriveList(frame3), "Drive_Trekvane", 120, 240, 4455, 315);

  QGroupBox* frame4 = Frame(this, "Frame4", "MapInfo Mif源文件", 5400, 1560, 5535, 4215);
  QPushButton* removeFile = Button(frame4, "Cmd_RemoveFile", "移除", 4680, 1080);
  QPushButton* addMif = Button(frame4, "Cmd_addMif", "添加", 4680, 480);
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
  connect(button("Cmd_Convert"), &QPushButton::clicked, this, [this] {
    RunBatch(*origFiles_, *dir1_, [](BatchUi& ui, const std::string& folder) { RunToMifBatch(ui, folder); });
  });
  connect(button("Cmd_ConvertTrekvane"), &QPushButton::clicked, this, [this] {
    RunBatch(*mifFiles_, *dirTrekvane_,
             [](BatchUi& ui, const std::string& folder) { RunToReceiverBatch(ui, folder); });
  });
  for (const char* name : {"Cmd_Cancle", "Cmd_CancleTrekvane"}) {
    connect(button(name), &QPushButton::clicked, this, [this] { desktop_.endProgram(); });
  }

  for (SourceList* list : {origFiles_, mifFiles_}) {
    // Each dropped file is a choice of its own: files dragged from a search
    // may lie in different folders, which one answer cannot name.
    connect(list, &SourceList::filesDropped, this, [this, list](const QStringList& files) {
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
  AddSourceFiles(list, answer,
                 [this](const std::string& duplicate) { ShowMessage(ShownText(duplicate + kDuplicateSuffix)); });
}

void MainWindow::RunBatch(SourceList& list, const FolderList& folder, const Batch& batch) {
  SetBusy(true);
  WindowBatchUi ui(*this, list, *progress_, desktop_);
  try {
    batch(ui, PathBytes(folder.Path()));
  } catch (const std::exception& error) {
    // The batches report failed files themselves; this keeps anything
    // unforeseen from taking the window down with it.
    ShowMessage(ShownText(std::string("转换中断：") + error.what()));
  }
  ui.ShowProgress();
  // Clicks made during the batch reach the still disabled controls and are dropped.
  QCoreApplication::processEvents();
  SetBusy(false);
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

void MainWindow::ShowMessage(const QString& text) { desktop_.message(this, text, QString::fromUtf8(kMessageTitle)); }

void MainWindow::SetBusy(bool busy) {
  busy_ = busy;
  for (QGroupBox* frame : findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly)) frame->setEnabled(!busy);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // A batch runs to its end; its own boxes are the only way to answer it.
  if (busy_) {
    event->ignore();
  } else {
    event->accept();
  }
}

}  // namespace carteloom
