// The window on a scripted desktop: its layout, the open-file answers,
// choosing, dropping and removing sources, both conversions, the drives and
// the cancel buttons.
#include <QtTest>
#include <QtWidgets>
#include <fstream>

#include "app/drive_list.h"
#include "app/folder_list.h"
#include "app/main_window.h"
#include "app/open_file_answer.h"
#include "app/source_list.h"
#include "app/text_bytes.h"
#include "app/window_batch_ui.h"
#include "formats/file_routines.h"

using namespace std::string_literals;

namespace {

// A control and its place in twips; the caption is "" for controls without one.
struct Control { const char *name, *kind, *container, *caption; int left, top, width, height; };

// In keyboard order; the picture, the frames and the progress bar take no focus.
const Control kControls[] = {
    {"Image1", "QLabel", "Frm_Carteloom", "", 2160, 0, 6750, 1500},
    {"Frame1", "QGroupBox", "Frm_Carteloom", "航路点、航迹、航线源文件", 0, 1560, 5295, 4215},
    {"List_OrigFile", "QListWidget", "Frame1", "", 120, 240, 4215, 3765},
    {"Cmd_Add", "QPushButton", "Frame1", "添加", 4440, 480, 735, 375},
    {"Cmd_Remove", "QPushButton", "Frame1", "移除", 4440, 1080, 735, 375},
    {"Frame2", "QGroupBox", "Frm_Carteloom", "目标Mif文件存放路径", 0, 5880, 5295, 2415},
    {"Drive1", "QComboBox", "Frame2", "", 120, 240, 4215, 315},
    {"Dir1", "QTreeWidget", "Frame2", "", 120, 600, 4215, 1665},
    {"Cmd_Cancle", "QPushButton", "Frame2", "取消", 4440, 1200, 735, 375},
    {"Cmd_Convert", "QPushButton", "Frame2", "转换", 4440, 480, 735, 375},
    {"Frame3", "QGroupBox", "Frm_Carteloom", "Trekvane航路点、航迹、航线目标文件存放路径", 5400, 5880, 5535, 2415},
    {"Cmd_ConvertTrekvane", "QPushButton", "Frame3", "转换", 4680, 480, 735, 375},
    {"Cmd_CancleTrekvane", "QPushButton", "Frame3", "取消", 4680, 1200, 735, 375},
    {"Dir_Trekvane", "QTreeWidget", "Frame3", "", 120, 600, 4455, 1665},
    {"Drive_Trekvane", "QComboBox", "Frame3", "", 120, 240, 4455, 315},
    {"Frame4", "QGroupBox", "Frm_Carteloom", "MapInfo Mif源文件", 5400, 1560, 5535, 4215},
    {"Cmd_RemoveFile", "QPushButton", "Frame4", "移除", 4680, 1080, 735, 375},
    {"Cmd_addMif", "QPushButton", "Frame4", "添加", 4680, 480, 735, 375},
    {"List_MifFile", "QListWidget", "Frame4", "", 120, 240, 4455, 3765},
    {"ProgressBar1", "QProgressBar", "Frm_Carteloom", "", 0, 8280, 10935, 255},
};

const QString kDuplicate = QString::fromUtf8("已经添加到源文件列表中!");
const QString kMessage = QString::fromUtf8("消息: ");

// The window on a desktop whose dialogs answer from a script and note what
// they showed. Questions are answered Cancel, input boxes with "renamed".
struct Fixture {
  std::vector<std::optional<std::string>> openAnswers;  // nullopt: the dialog was cancelled
  std::vector<carteloom::OpenFileRequest> requests;
  QStringList shown;  // "title: text", "title? text" for questions, "title: prompt|proposal" for input, the end
  std::function<void()> whileMessageShown = [] {};  // what a user tries while a message is up
  carteloom::Desktop desktop{
      [this](QWidget*, const QString& text, const QString& title) {
        shown << title + ": " + text; whileMessageShown();
      },
      [this](QWidget*, const QString& text, const QString& title) { shown << title + "? " + text; return false; },
      [this](QWidget*, const QString& prompt, const QString& title, const QString& proposal) {
        shown << title + ": " + prompt + "|" + proposal; return QString("renamed");
      },
      [this](QWidget*, const carteloom::OpenFileRequest& request) {
        requests.push_back(request); return openAnswers.at(requests.size() - 1);
      },
      [this] { shown << "the program ends"; }};
  carteloom::MainWindow window{desktop};

  template <typename T = QListWidget> T* Get(const char* name) { return window.findChild<T*>(name); }
  void Click(const char* button) { QTest::mouseClick(Get<QPushButton>(button), Qt::LeftButton); }
  QStringList Entries(const char* list) {
    QStringList entries;
    for (int row = 0; row < Get(list)->count(); ++row) entries << Get(list)->item(row)->text();
    return entries;
  }
};

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void WindowAndControlsFollowTheLayout() {
    Fixture f;
    QStringList focusOrder;
    for (const Control& control : kControls) {
      const auto* widget = f.Get<QWidget>(control.name);
      QVERIFY2(widget != nullptr && widget->inherits(control.kind), control.name);
      QCOMPARE(widget->parentWidget()->objectName(), QString(control.container));
      const char* caption = widget->inherits("QGroupBox") ? "title" : widget->inherits("QPushButton") ? "text" : "";
      QCOMPARE(widget->property(caption).toString(), QString::fromUtf8(control.caption));
      QCOMPARE(widget->geometry(), QRect(control.left / 15, control.top / 15, control.width / 15, control.height / 15));
      if (widget->focusPolicy() & Qt::TabFocus) focusOrder << control.name;
    }
    QStringList seen;  // one round of the focus chain from the first control
    for (QWidget* w = f.Get<QWidget>("List_OrigFile"); seen.size() < focusOrder.size(); w = w->nextInFocusChain())
      if (focusOrder.contains(w->objectName())) seen << w->objectName();
    QCOMPARE(seen, focusOrder);

    QCOMPARE(f.window.windowTitle(), QString::fromUtf8("Trekvane航路点、航迹、航线转换成MapInfo Mif格式"));
    QCOMPARE(QList<QSize>({f.window.minimumSize(), f.window.maximumSize()}), QList<QSize>(2, QSize(731, 569)));
    QVERIFY(!(f.window.windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
    QVERIFY((f.window.geometry().center() - f.window.screen()->availableGeometry().center()).manhattanLength() <= 2);
    QCOMPARE(f.window.palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(f.Get<QLabel>("Image1")->pixmap().size(), QSize(450, 100));
    QCOMPARE(f.window.windowIcon().availableSizes(), QList<QSize>({QSize(32, 32), QSize(16, 16)}));
    const auto* bar = f.Get<QProgressBar>("ProgressBar1");  // empty
    QCOMPARE(QList<int>({bar->minimum(), bar->maximum(), bar->value(), bar->isTextVisible()}), QList({0, 100, 0, 0}));
    // Both pickers start in the current folder, on a drive of their list; a folder list is a plain tree.
    for (auto* folder : {f.Get<carteloom::FolderList>("Dir1"), f.Get<carteloom::FolderList>("Dir_Trekvane")}) {
      QCOMPARE(folder->Path(), QDir::currentPath());
      QVERIFY(folder->isHeaderHidden() && !folder->rootIsDecorated() && !folder->itemsExpandable());
    }
    QVERIFY(f.Get<QComboBox>("Drive1")->currentIndex() >= 0 && f.Get<QComboBox>("Drive_Trekvane")->currentIndex() >= 0);
    QCOMPARE(carteloom::MachineDrives().removeDuplicates(), 0);  // each drive listed once
  }

  void DialogAnswersTakeThePlatformsForm() {
    // One file as its path; several as their folder and names.
    QCOMPARE(carteloom::DialogAnswer({"/gps/a b.upt"}), "/gps/a b.upt\0\0"s);
    QCOMPARE(carteloom::DialogAnswer({"/gps/b.upt", "/gps/a.upt"}), "/gps\0b.upt\0a.upt\0\0"s);
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"/gps/day1.upt", {}}, {"\0\0"s, {}},    // no NUL; no path
        {"/gps\0a.upt\0tail"s, {"/gps/a.upt"}},  // an unterminated name
    };
    for (const auto& [answer, files] : cases) QCOMPARE(carteloom::ChosenFiles(answer), files);
    // More names than the platform's dialog gives: all taken.
    QCOMPARE(carteloom::ChosenFiles("/f\0"s + QByteArray("a\0", 2).repeated(120).toStdString() + '\0').size(), 120u);
    // Stray bytes of a path are replaced in a message, also the last one; the text around them survives.
    QCOMPARE(carteloom::ShownText("/gps/\xB5x已存在\xB5"), QString::fromUtf8("/gps/\xEF\xBF\xBDx已存在\xEF\xBF\xBD"));
  }

  void EachSourceListTakesChosenFilesOnceAndLetsTheSelectedGo() {
    const struct { const char *add, *remove, *cancel, *list, *description, *pattern, *title; } sides[] = {
        {"Cmd_Add", "Cmd_Remove", "Cmd_Cancle", "List_OrigFile", "航路点、航迹、航线文件(*.upt;*.log;*.rte)",
         "*.upt;*.log;*.rte", "打开要转换的航路点、航迹、航线文件"},
        {"Cmd_addMif", "Cmd_RemoveFile", "Cmd_CancleTrekvane", "List_MifFile", "MapInfo Mif文件 (*.mif)", "*.mif",
         "打开要转换的MapInfo的Mif文件"}};
    for (const auto& side : sides) {
      Fixture f;
      // Cancelled; two files; a case variant, a duplicate and a new one; a root's files, then one of them alone.
      f.openAnswers = {std::nullopt, "/d\0a\0b\0\0"s, "/d\0A\0b\0c\0\0"s, "/\0x\0y\0\0"s, "/x\0\0"s, "/d/b\0\0"s};
      QList<int> countsAtMessages;
      f.whileMessageShown = [&] { countsAtMessages << f.Get(side.list)->count(); };
      for (int i = 0; i < 5; ++i) f.Click(side.add);
      QCOMPARE(f.Entries(side.list), QStringList({"/d/a", "/d/b", "/d/A", "/d/c", "/x", "/y"}));
      QCOMPARE(f.shown, QStringList({kMessage + "/d/b" + kDuplicate, kMessage + "/x" + kDuplicate}));
      QCOMPARE(countsAtMessages, QList<int>({3, 6}));  // each message in its turn among the appends
      const carteloom::OpenFileRequest& asked = f.requests.at(0);
      QCOMPARE(QStringList({asked.filterDescription, asked.filterPattern, asked.title, asked.initialFolder}),
               QStringList({side.description, side.pattern, side.title, QDir::currentPath()}));

      for (int row : {-1, 1, 4}) {  // nothing selected, the second entry, the last one
        f.Get(side.list)->setCurrentRow(row);
        f.Click(side.remove);
      }
      f.Click(side.add);  // a removed entry is no duplicate

      // Dropped files are taken like chosen ones, each with its own path; folders are no sources.
      QMimeData data;
      data.setUrls({QUrl::fromLocalFile("/d/c"), QUrl::fromLocalFile(QDir::tempPath()), QUrl::fromLocalFile("/e/f")});
      QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(f.Get(side.list)->viewport(), &enter);
      QVERIFY(enter.isAccepted());
      QCoreApplication::sendEvent(f.Get(side.list)->viewport(), &drop);
      QCOMPARE(f.Entries(side.list), QStringList({"/d/a", "/d/A", "/d/c", "/x", "/d/b", "/e/f"}));
      f.Click(side.cancel);  // ends the program at once, listed files or not
      QCOMPARE(f.shown.mid(2), QStringList({kMessage + "/d/c" + kDuplicate, "the program ends"}));
    }
  }

  // There and back: a waypoint file to MIF into Dir1, that MIF back into Dir_Trekvane.
  void BothConversionsWriteIntoTheChosenFolderAndWorkOffTheirList() {
    QTemporaryDir temp;
    const std::string waypoint = "$PZTJWPL,3954.450,N,11623.483,E,0000000,M,WELL01,,a*45\r\n";
    QVERIFY(QDir(temp.path()).mkdir("mif") && QDir(temp.path()).mkdir("card"));
    std::ofstream(temp.filePath("day1.upt").toStdString(), std::ios::binary) << waypoint;
    std::ofstream(temp.filePath("card/day1.upt").toStdString(), std::ios::binary) << "old";
    Fixture f;
    // Dir1 by its drive, which stays when one that cannot be read is chosen, and a double click on a subfolder.
    auto* drive1 = f.Get<carteloom::DriveList>("Drive1");
    drive1->SetDrives({"/", temp.path(), temp.filePath("gone")});
    for (int drive : {1, 2}) drive1->setCurrentIndex(drive);
    QCOMPARE(drive1->Drive(), temp.path());
    auto* dir1 = f.Get<QTreeWidget>("Dir1");
    const QRect place = dir1->visualItemRect(dir1->findItems("mif", Qt::MatchExactly | Qt::MatchRecursive).value(0));
    QTest::mouseClick(dir1->viewport(), Qt::LeftButton, {}, place.center());
    QTest::mouseDClick(dir1->viewport(), Qt::LeftButton, {}, place.center());
    // Dir_Trekvane by its drive.
    f.Get<carteloom::DriveList>("Drive_Trekvane")->SetDrives({"/", temp.filePath("card")});
    f.Get<carteloom::DriveList>("Drive_Trekvane")->setCurrentIndex(1);
    f.openAnswers = {temp.filePath("day1.upt").toStdString() + "\0\0"s,
                     temp.filePath("mif/day1.mif").toStdString() + "\0\0"s};
    QList<bool> usable;  // while a batch shows its summary: could a click or closing the window get through?
    f.whileMessageShown = [&] { usable << f.Get<QPushButton>("Cmd_Convert")->isEnabled() << f.window.close(); };
    for (const char* button : {"Cmd_Add", "Cmd_Convert", "Cmd_addMif", "Cmd_ConvertTrekvane"}) f.Click(button);
    QCOMPARE(carteloom::FileText(temp.filePath("card/renamed.upt").toStdString()), waypoint);
    QCOMPARE(carteloom::FileText(temp.filePath("card/day1.upt").toStdString()), "old"s);  // answered Cancel
    QCOMPARE(f.Entries("List_OrigFile") + f.Entries("List_MifFile"), QStringList());
    QCOMPARE(f.shown,
             QStringList({kMessage + QString::fromUtf8("无法读取“%1”，请检查！").arg(temp.filePath("gone")),
                          kMessage + QString::fromUtf8("共计 1个Trekvane航路点、航迹、航线文件已转换成MapInfo的Mif文件！"),
                          "Message? " + temp.filePath("card/day1.upt") + QString::fromUtf8(" 已存在，是否覆盖？"),
                          QString::fromUtf8("请输入一个新的文件名！: 文件重命名为|day1_2"),
                          kMessage + QString::fromUtf8("共计 1个MapInfo的Mif文件转成Trekvane的航路点、航迹、航线文件！")}));
    QCOMPARE(usable, QList<bool>({false, false, false, false}));
    QVERIFY(f.Get<QPushButton>("Cmd_Convert")->isEnabled() && f.window.close());
    auto* progress = f.Get<QProgressBar>("ProgressBar1");
    QCOMPARE(QList<int>({progress->maximum(), progress->value()}), QList<int>({500, 0}));
    // The bar also follows a batch between files, when no box of its own shows it.
    carteloom::WindowBatchUi batchUi(f.window, *f.Get<carteloom::SourceList>("List_MifFile"), *progress, f.desktop);
    batchUi.ShowProgress(7, 10);
    batchUi.BetweenFiles();
    QCOMPARE(progress->value(), 7);
  }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
