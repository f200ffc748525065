// The window on a scripted desktop: its layout, the open-file answers,
// choosing, dropping and removing sources, both conversions on their thread
// with their progress and stop, the boxes about files and their order, the
// pickers, long paths and tooltips, the keyboard and Qt's Chinese texts; on
// Qt's own boxes and file dialog where they matter.
#include <QtTest>
#include <QtWidgets>
#include <semaphore>
#include <thread>

#include "app/drive_list.h"
#include "app/folder_list.h"
#include "app/main_window.h"
#include "app/open_file_answer.h"
#include "app/qt_translations.h"
#include "app/source_list.h"
#include "app/text_bytes.h"
#include "app/window_batch_ui.h"
#include "files/file_routines.h"
#include "files/stop_request.h"
#include "to_mif/to_mif_batch.h"

using namespace std::chrono_literals;
using namespace std::string_literals;
using namespace carteloom;

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
const QByteArray kWaypoint = "$PZTJWPL,3954.450,N,11623.483,E,0000000,M,WELL01,,a*45\r\n";

// Paths below the root of this system's file system: "/" here, "C:/" on Windows. Shown: as the window
// shows them, with the system's separators; Bytes: as the core takes them.
QString Rooted(const char* path) { return QDir::rootPath() + QString::fromUtf8(path); }
QString Shown(const char* path) { return QDir::toNativeSeparators(Rooted(path)); }
std::string Bytes(const char* path) { return PathBytes(Rooted(path)); }

// Every call to the window's side that a batch converting one file makes, except
// that the first progress in mid-read waits until a stop is requested (at most
// ten seconds, so that a failing test ends).
struct PausingUi : BatchUi {
  using S = const std::string&;
  explicit PausingUi(BatchUi& ui) : ui(ui) {}
  void ShowMessage(S t, S h) override { ui.ShowMessage(t, h); }
  OverwriteAnswer AskOverwrite(S t, S h) override { return ui.AskOverwrite(t, h); }
  std::optional<std::string> AskText(S p, S h, S o) override { return ui.AskText(p, h, o); }
  std::size_t SourceCount() const override { return ui.SourceCount(); }
  std::string SourceAt(std::size_t i) const override { return ui.SourceAt(i); }
  void RemoveSourceAt(std::size_t i) override { ui.RemoveSourceAt(i); }
  void ShowProgress(std::uint64_t done, std::uint64_t total) override {
    if (done > 0 && done < total && !std::exchange(paused, true)) {
      reached.release();
      for (int wait = 0; wait < 1000 && !StopRequested(); ++wait) std::this_thread::sleep_for(10ms);
    }
    ui.ShowProgress(done, total);
  }
  BatchUi& ui;
  bool paused = false;
  static inline std::counting_semaphore<> reached{0};
};

// Notes each text a list's entries are drawn with, marked when it is wider than its place.
struct DrawnEntries : QProxyStyle {
  mutable QStringList texts;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    if (const auto* entry = qstyleoption_cast<const QStyleOptionViewItem*>(option); entry && element == CE_ItemViewItem)
      texts << entry->text + (entry->fontMetrics.horizontalAdvance(entry->text) >
                              subElementRect(SE_ItemViewItemText, option, widget).width() ? " (too wide)" : "");
    QProxyStyle::drawControl(element, option, painter, widget);
  }
};

// The window on a desktop whose dialogs answer from a script and note what
// they showed. Questions are answered as told, else Cancel; input boxes with "renamed".
// The files a test makes go into a temporary folder of the fixture's own.
struct Fixture {
  explicit Fixture(Batches batches = Batches::Converters()) : batches(std::move(batches)) {}
  QTemporaryDir temp;
  Batches batches;
  QList<bool> overwrite;     // the answers to questions in turn, Cancel after them
  bool qtQuestions = false;  // questions go to Qt's own box, to be answered there
  std::vector<std::optional<std::string>> openAnswers;  // nullopt: the dialog was cancelled
  std::vector<OpenFileRequest> requests;
  QStringList shown;  // "title: text", "title? text" for questions, "title: prompt|proposal" for input, the end
  std::function<void()> whileMessageShown = [] {};  // what a user tries while a message is up
  Desktop desktop{
      [this](QWidget*, bool, const QString& text, const QString& title) {
        shown << title + ": " + text; whileMessageShown();
      },
      [this](QWidget* owner, bool usable, const QString& text, const QString& title) {
        shown << title + "? " + text; whileMessageShown();
        if (qtQuestions) return Desktop::Platform().question(owner, usable, text, title);
        return !overwrite.isEmpty() && overwrite.takeFirst();
      },
      [this](QWidget*, bool, const QString& prompt, const QString& title, const QString& proposal) {
        shown << title + ": " + prompt + "|" + proposal; return QString("renamed");
      },
      [this](QWidget*, const OpenFileRequest& request) {
        requests.push_back(request); return openAnswers.at(requests.size() - 1);
      },
      [this] { shown << "the program ends"; }};
  MainWindow window{desktop, batches};

  template <typename T = QListWidget> T* Get(const char* name) { return window.findChild<T*>(name); }
  void Click(const char* button) { QTest::mouseClick(Get<QPushButton>(button), Qt::LeftButton); }
  // A platform with windows of its own lays out and takes clicks only in a shown window; the keyboard and a
  // new look at the drives follow an active one.
  bool Show() {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
  }
  // Chooses files of the temporary folder with an add button; answers given beforehand come first.
  void Add(const char* button, const QStringList& names) {
    QStringList paths;
    for (const QString& name : names) paths << In(name);
    openAnswers.push_back(DialogAnswer(paths));
    Click(button);
  }
  // Clicks a convert button, after choosing the files named with the add button of its side, and waits for the
  // end of its batch.
  bool Convert(const char* button, const QStringList& names = {}) {
    if (!names.isEmpty()) Add(button == "Cmd_Convert"s ? "Cmd_Add" : "Cmd_addMif", names);
    QSignalSpy done(&window, &MainWindow::batchFinished);
    Click(button);
    return !done.isEmpty() || done.wait(30000);
  }
  QStringList Entries(const char* list) {
    QStringList entries;
    for (int row = 0; row < Get(list)->count(); ++row) entries << Get(list)->item(row)->text();
    return entries;
  }
  // A file or folder of the temporary folder: its path, as the window shows it, its bytes.
  QString In(const QString& name) const { return QDir(temp.path()).filePath(name); }
  QString Native(const QString& name) const { return QDir::toNativeSeparators(In(name)); }
  std::string Read(const QString& name) const { return FileText(PathBytes(In(name))); }
  void Write(const QString& name, const QByteArray& bytes) const {
    QFile file(In(name));
    QVERIFY(QDir().mkpath(QFileInfo(file).path()) && file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
  }
  void Output(const char* picker, const QString& folder = "") { Get<FolderList>(picker)->ShowFolder(In(folder)); }
};

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY(LoadQtTranslations()); }

  void WindowAndControlsFollowTheLayoutAndTheKeyboard() {
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
    for (const auto* folder : {f.Get<FolderList>("Dir1"), f.Get<FolderList>("Dir_Trekvane")})
      QVERIFY(folder->Path() == QDir::currentPath() && folder->isHeaderHidden() && !folder->rootIsDecorated() &&
              !folder->itemsExpandable());
    QVERIFY(f.Get<QComboBox>("Drive1")->currentIndex() >= 0 && f.Get<QComboBox>("Drive_Trekvane")->currentIndex() >= 0);
    QCOMPARE(MachineDrives().removeDuplicates(), 0);  // each drive listed once
    // A frame's caption is set in from its edge, and its line runs through the caption, above the controls.
    for (const auto* frame : f.window.findChildren<QGroupBox*>()) {
      QStyleOptionGroupBox option;
      option.initFrom(frame);
      const QStyle* style = frame->style();
      const QRect label = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
      const int line = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, frame).top();
      QVERIFY(label.left() > 0 && std::abs(label.center().y() - line) <= 1);
      for (const auto* control : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        QVERIFY(control->y() > line + 1);
    }
    // An empty list that has the focus shows it.
    QVERIFY(f.Show());
    auto* list = f.Get("List_OrigFile");
    f.Get<QWidget>("Cmd_Remove")->setFocus(Qt::TabFocusReason);
    const QImage unfocused = list->grab().toImage();
    list->setFocus(Qt::TabFocusReason);
    QVERIFY(list->grab().toImage() != unfocused);
  }

  // The open-file answers in the platform's form, and what each source list does with them.
  void SourceListsTakeOpenFileAnswersOnceAndLetTheSelectedGo() {
    // One file as its path; several as their folder and names.
    QCOMPARE(DialogAnswer({Rooted("gps/a b.upt")}), Bytes("gps/a b.upt") + "\0\0"s);
    QCOMPARE(DialogAnswer({Rooted("gps/b.upt"), Rooted("gps/a.upt")}), Bytes("gps") + "\0b.upt\0a.upt\0\0"s);
    // More names than the platform's dialog gives: all taken.
    QCOMPARE(ChosenFiles("/f\0"s + QByteArray("a\0", 2).repeated(120).toStdString() + '\0').size(), 120u);
#ifndef Q_OS_WIN  // where file names are in the ANSI code page and the system's own dialog takes typed names
    // Stray bytes of a path are replaced in a message, also the last one; the text around them survives.
    QCOMPARE(ShownText("/gps/\xB5x已存在\xB5"), QString::fromUtf8("/gps/\xEF\xBF\xBDx已存在\xEF\xBF\xBD"));
    // Every name typed into Qt's open-file dialog, which speaks Chinese, is taken, one it lists as well as one it
    // does not.
    QTemporaryDir temp;
    QVERIFY(QFile(temp.filePath("big1.upt")).open(QIODevice::WriteOnly));
    QTimer::singleShot(0, [] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      auto* listed = dialog->findChild<QAbstractItemView*>("listView");
      QVERIFY(QTest::qWaitFor([listed] { return listed->model()->rowCount(listed->rootIndex()) > 0; }));
      auto* typed = dialog->findChild<QLineEdit*>("fileNameEdit");
      typed->insert("\"big1.upt\" \"notes.txt\"");  // pasted, or given at once by an input method
      QTest::keyClick(typed, Qt::Key_Return);
      if (dialog->isVisible()) dialog->reject();
      QCOMPARE(dialog->labelText(QFileDialog::LookIn), "查找范围：");
    });
    const auto answer = Desktop::Platform().openFiles(nullptr, {"(*.upt)", "*.upt", "", temp.path()});
    QCOMPARE(ChosenFiles(answer.value_or("")),
             std::vector<std::string>({PathBytes(temp.filePath("big1.upt")), PathBytes(temp.filePath("notes.txt"))}));
#endif

    const struct { const char *add, *remove, *cancel, *list, *description, *pattern, *title; } sides[] = {
        {"Cmd_Add", "Cmd_Remove", "Cmd_Cancle", "List_OrigFile", "航路点、航迹、航线文件(*.upt;*.log;*.rte)",
         "*.upt;*.log;*.rte", "打开要转换的航路点、航迹、航线文件"},
        {"Cmd_addMif", "Cmd_RemoveFile", "Cmd_CancleTrekvane", "List_MifFile", "MapInfo Mif文件 (*.mif)", "*.mif",
         "打开要转换的MapInfo的Mif文件"}};
    for (const auto& side : sides) {
      Fixture f;
      // Cancelled; no NUL; no path; two files; a case variant, a duplicate and a new one; a root's files and an
      // unterminated name, then one of them alone.
      f.openAnswers = {std::nullopt, Bytes("z"), "\0\0"s, Bytes("d") + "\0a\0b\0\0"s, Bytes("d") + "\0A\0b\0c\0\0"s,
                       Bytes("") + "\0x\0y\0tail"s, Bytes("x") + "\0\0"s, Bytes("d/b") + "\0\0"s};
      QList<int> countsAtMessages;
      f.whileMessageShown = [&] { countsAtMessages << f.Get(side.list)->count(); };
      for (int i = 0; i < 7; ++i) f.Click(side.add);
      QCOMPARE(f.Entries(side.list), QStringList({Shown("d/a"), Shown("d/b"), Shown("d/A"), Shown("d/c"), Shown("x"), Shown("y")}));
      QCOMPARE(f.shown, QStringList({kMessage + Shown("d/b") + kDuplicate, kMessage + Shown("x") + kDuplicate}));
      QCOMPARE(countsAtMessages, QList<int>({3, 6}));  // each message in its turn among the appends
      const OpenFileRequest& asked = f.requests.at(0);
      QCOMPARE(QStringList({asked.filterDescription, asked.filterPattern, asked.title, asked.initialFolder}),
               QStringList({side.description, side.pattern, side.title, QDir::currentPath()}));

      // Nothing selected, the second entry, the last one; Enter clicks a focused button as Space does.
      for (auto [row, key] : {std::pair{-1, Qt::Key_Return}, {1, Qt::Key_Enter}, {4, Qt::Key_Space}}) {
        f.Get(side.list)->setCurrentRow(row);
        QTest::keyClick(f.Get<QPushButton>(side.remove), key);
      }
      f.Click(side.add);  // a removed entry is no duplicate

      // Dropped files are taken like chosen ones, each with its own path; folders are no sources.
      QMimeData data;
      data.setUrls({QUrl::fromLocalFile(Rooted("d/c")), QUrl::fromLocalFile(QDir::tempPath()), QUrl::fromLocalFile(Rooted("e/f"))});
      QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QVERIFY(QCoreApplication::sendEvent(f.Get(side.list)->viewport(), &enter) && enter.isAccepted());
      QCoreApplication::sendEvent(f.Get(side.list)->viewport(), &drop);
      QCOMPARE(f.Entries(side.list), QStringList({Shown("d/a"), Shown("d/A"), Shown("d/c"), Shown("x"), Shown("d/b"), Shown("e/f")}));
      f.Click(side.cancel);  // ends the program at once, listed files or not
      QCOMPARE(f.shown.mid(2), QStringList({kMessage + Shown("d/c") + kDuplicate, "the program ends"}));
    }
  }

  // There and back: waypoint files to MIF into Dir1, and those back into Dir_Trekvane, where a.upt is replaced
  // (its question answered OK) and b.upt kept, its waypoints taking the name typed; the lists are worked off.
  // While a box shows no other batch can start, but this one can be cancelled. The bar shows the share of the input bytes done: it only grows,
  // is full after the last file, empty at the summary, and up to date when a box shows. Replacing a layer's first
  // waypoint file replaces its other parts without a question each; a part an earlier conversion left after them
  // is named.
  void BothConversionsWriteIntoTheChosenFolderAndShowTheirProgress() {
    Fixture f;
    for (const char* name : {"gps/a.upt", "gps/b.upt"}) f.Write(name, kWaypoint.repeated(4000));
    for (const char* old : {"sd/a.upt", "sd/a2.upt", "sd/a9.upt", "sd/a10.upt", "sd/b.upt"}) f.Write(old, "old");
    f.overwrite = {true};
    f.Output("Dir1");
    f.Output("Dir_Trekvane", "sd");
    auto* bar = f.Get<QProgressBar>("ProgressBar1");
    QList<int> values, atBoxes;
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int value) { values << value; });
    f.whileMessageShown = [&] {
      atBoxes << bar->value();
      QVERIFY(!f.Get<QWidget>("Cmd_ConvertTrekvane")->isEnabled() && f.Get<QWidget>("Cmd_Cancle")->isEnabled());
    };
    for (auto [convert, names] : {std::pair{"Cmd_Convert", "gps/%1.upt"}, {"Cmd_ConvertTrekvane", "%1.mif"}}) {
      values.clear();
      QVERIFY(f.Convert(convert, {QString(names).arg("a"), QString(names).arg("b")}));
      const qsizetype full = values.indexOf(bar->maximum());
      QVERIFY2(full > 0 && std::is_sorted(values.begin(), values.begin() + full + 1), convert);
      QCOMPARE(values.mid(full + 1), QList<int>({0}));
    }
    // The summaries; the question whether to replace a.upt, the box naming a10.upt once a.mif is written, and the
    // question about b.upt after half the bytes (a.mif, a.mid) of a bar that counts to 1000.
    QCOMPARE(atBoxes, QList<int>({0, 0, 499, 500, 0}));
    QCOMPARE(f.shown.mid(1, 4), QStringList({"Message? " + f.Native("sd/a.upt") + " 已存在，是否覆盖？",
                                             kMessage + f.Native("sd/a9.upt") + " 是这一图层的最后一个航路点文件。\n以下"
                                                 "文件是以前的转换留下的，其中的航路点不是这次转换的：\n  " + f.Native("sd/a10.upt"),
                                             "Message? " + f.Native("sd/b.upt") + " 已存在，是否覆盖？",
                                             QString::fromUtf8("请输入一个新的文件名！: 文件重命名为|b_2")}));
    QCOMPARE(f.Read("sd/renamed.upt") + f.Read("sd/b.upt") + f.Read("sd/a10.upt"),
             kWaypoint.repeated(499).toStdString() + "oldold");
    QCOMPARE(f.Entries("List_OrigFile") + f.Entries("List_MifFile"), QStringList());
    QVERIFY(f.Get<QPushButton>("Cmd_Convert")->isEnabled() && f.window.close());
  }

  // Files and folders with Chinese names, as a Chinese Windows names them in GBK: listed, converted both ways
  // and named in boxes as they are; every output takes its source's name. With CARTELOOM_WINDOW_OUTPUTS set,
  // the outputs are copied there, to be compared with those of the window built for the other system.
  void ChineseNamesPassThroughBothDirections() {
    Fixture f;
    QVERIFY(QDir(f.temp.path()).mkdir("出图") && QDir(f.temp.path()).mkdir("太原"));
    for (auto [from, to] : {std::pair{"wells.upt", "太原/小谢.upt"}, {"points.mif", "太原/魏.mif"}, {"points.mid", "太原/魏.mid"}})
      QVERIFY(QFile::copy(CARTELOOM_TEST_DATA "/windows/" + QString(from), f.In(to)));
    f.Write("卡/魏.upt", "old");
    f.overwrite = {true};
    f.Output("Dir1", "出图");
    f.Output("Dir_Trekvane", "卡");
    QVERIFY(f.Convert("Cmd_Convert", {"太原/小谢.upt"}));
    QVERIFY(f.Convert("Cmd_ConvertTrekvane", {"太原/魏.mif"}));
    QCOMPARE(f.shown.filter("Message? "), QStringList({"Message? " + f.Native("卡/魏.upt") + " 已存在，是否覆盖？"}));
    const auto files = [&f](const char* folder) { return QDir(f.In(folder)).entryList(QDir::Files).join(' '); };
    QCOMPARE(files("出图") + ", " + files("卡"), QString::fromUtf8("小谢.mid 小谢.mif, 魏.upt 魏2.upt 魏3.upt"));
    if (const QString copies = qEnvironmentVariable("CARTELOOM_WINDOW_OUTPUTS"); !copies.isEmpty()) {
      for (const QString file : {"出图/小谢.mid", "出图/小谢.mif", "卡/魏.upt", "卡/魏2.upt", "卡/魏3.upt"})
        QVERIFY(QDir().mkpath(QFileInfo(copies + '/' + file).path()) && QFile::copy(f.In(file), copies + '/' + file));
    }
  }

  // A batch stopped by 取消 or by closing the window in mid-file, the window staying live meanwhile, or by 取消
  // while it waits for the answer to its question in Qt's own box, which then closes: the old outputs are intact,
  // nothing else is in the folder, the entry is still listed, and then the program ends.
  void CancelOrCloseStopsTheRunningBatchCleanly() {
    for (const QString way : {"cancel", "close", "cancel at the question"}) {
      DrawnEntries drawn;
      Fixture f({[](BatchUi& ui, const std::string& folder) {
                   PausingUi pausing(ui);
                   return RunToMifBatch(pausing, folder);
                 }, {}});
      f.Write("day1.upt", kWaypoint.repeated(20000));
      for (const char* old : {"out/day1.mif", "out/day1.mid"}) f.Write(old, "old");
      f.overwrite = {true};
      f.qtQuestions = way == "cancel at the question";
      f.Output("Dir1", "out");
      f.Add("Cmd_Add", {"day1.upt"});
      QVERIFY(f.Show());
      const QPoint cancel = f.Get<QPushButton>("Cmd_Cancle")->mapTo(&f.window, QPoint(20, 10));  // inside 取消
      QString asked;
      QTimer user;  // clicks 取消 while Qt's question is up, as the platform delivers a click
      QObject::connect(&user, &QTimer::timeout, [&] {
        auto* box = f.window.findChild<QMessageBox*>();
        if (box == nullptr || !box->isVisible()) return;
        if (!asked.isEmpty()) return box->reject();  // the click did not get through: the test fails, but ends
        asked = box->button(QMessageBox::Ok)->text() + box->button(QMessageBox::Cancel)->text();
        QTest::mouseClick(f.window.windowHandle(), Qt::LeftButton, {}, cancel);
      });
      user.start(10);
      QSignalSpy done(&f.window, &MainWindow::batchFinished);
      f.Click("Cmd_Convert");
      if (!f.qtQuestions) {
        QVERIFY(QTest::qWaitFor([] { return PausingUi::reached.try_acquire(); }));
        // Mid-file: the window paints, moves and takes clicks.
        f.Get("List_OrigFile")->setStyle(&drawn);
        const QPoint moved = f.window.pos() + QPoint(40, 30);
        f.window.move(moved);
        QTRY_VERIFY(!drawn.texts.isEmpty() && f.window.pos() == moved && f.window.BatchRunning());
        if (way == "close") QVERIFY(!f.window.close());  // not before the batch has unwound
        if (way == "cancel") f.Click("Cmd_Cancle");
        QVERIFY(!f.shown.contains("the program ends"));
      }
      // Qt's box, in Chinese, showed only when the question went there, and it is gone.
      QVERIFY(done.wait() && asked == (f.qtQuestions ? "确定取消" : "") && f.window.findChild<QMessageBox*>() == nullptr);
      // The question whether to overwrite, no summary, and then the end.
      QCOMPARE(f.shown, QStringList({"消息? " + f.Native("out/day1.mif") + "文件已存在，您是否要覆盖？", "the program ends"}));
      ClearStopRequest();  // for the file reads below; the program would have ended
      QCOMPARE(QDir(f.In("out")).entryList(QDir::Files | QDir::Hidden), QStringList({"day1.mid", "day1.mif"}));
      QCOMPARE(f.Read("out/day1.mif") + f.Read("out/day1.mid"), "oldold"s);
      QCOMPARE(f.Entries("List_OrigFile"), QStringList({f.Native("day1.upt")}));
    }
  }

  // A box about a file shows before the next file is converted, and the batch waits for it. A batch that ends
  // early then lists, after the box that ended it, the files it did not convert.
  void BoxesAboutFilesComeInTimeNameTheirFilesAndAnEarlyEndListsTheRest() {
    Fixture f;
    f.Write("good.mif", "Version 300\r\nCoordSys Earth Projection 1, 104\r\nData\r\nPoint 116.5 39.5\r\n");
    f.Write("good.mid", "");
    f.Write("notes.mif", "Version 300\r\nData\r\n");
    f.Write("utm.mif", "Version 300\r\nCoordSys Earth Projection 8, 104\r\nData\r\nPoint 5 4\r\n");
    f.Output("Dir_Trekvane");
    QList<qsizetype> atBoxes;  // the files written and the entries left when each box shows
    f.whileMessageShown = [&] {
      atBoxes << QDir(f.temp.path()).entryList({"*.upt"}).size() << f.Get("List_MifFile")->count();
    };
    QVERIFY(f.Convert("Cmd_ConvertTrekvane", {"notes.mif", "good.mif", "utm.mif", "roads.mif"}));
    QCOMPARE(atBoxes, QList<qsizetype>({0, 3, 1, 2, 1, 2}));
    const auto path = [&f](const char* name) { return "\n  " + f.Native(name); };
    QCOMPARE(f.shown.value(2), kMessage + "批处理已提前结束，以下文件没有转换：" + path("notes.mif") + path("utm.mif") +
                                   path("roads.mif"));

    // Messages about files name them above the text; files that fail in a row for the same reason (their output
    // folder is gone) share one box, which lists as many as a box can show. A box wraps a long path between
    // folders.
    WindowBatchUi ui(f.window, *f.Get<SourceList>("List_OrigFile"), *f.Get<QProgressBar>("ProgressBar1"), f.desktop,
                     "/x");
    const QString gone = "没有转换：输出文件夹 /x 不存在";
    for (const char* file : {"/d/a", "/d/b", "/d/c"}) {
      ui.ShowFileMessage(file, file == "/d/c"s ? "其他" : gone.toStdString(), "消息");
      ui.BetweenFiles();  // the next file cannot be converted either: the box may wait
    }
    ui.AskOverwrite("覆盖？", "消息");
    ui.ShowFileMessage("/d/d", gone.toStdString(), "消息");
    ui.Finish({});
    QCOMPARE(f.shown.mid(3), QStringList({kMessage + "/d/a\n/d/b\n" + gone, kMessage + "/d/c\n其他",
                                          QString::fromUtf8("消息? 覆盖？"), kMessage + "/d/d\n" + gone}));
    const QStringList lines = FileMessageText(std::vector<std::string>(25, "/p"), "t").split('\n');
    QCOMPARE(lines.mid(19), QStringList({"/p", QString::fromUtf8("……另有 5 个文件"), "t"}));
    QCOMPARE(WrappableAtSeparators("C:\\a-b/c"), QString::fromUtf8("C:\\\u200Ba-\u2060b/\u200Bc"));
  }

  // A long path shows its file name whole and the end of its folder. Its tooltip, the whole path in lines, starts
  // at the list's edge and keeps clear of the buttons beside it, as the output folder's tooltip does. The open
  // folder is the one in bold, named by that tooltip; a click only highlights another. A folder list shows the open
  // folder with its parent above it and its subfolders below it: at the start, after a change of drive, and when
  // the folders are listed anew, as they are with the drives when the window is active again.
  void LongPathsAndPickersShowWhereFilesAreAndFollowTheDisk() {
    DrawnEntries drawn;
    Fixture f;
    const QString longFolder = QString("a folder with a long name/").repeated(6);
    const QString deep = f.In(longFolder + "g/h");
    QVERIFY(QDir().mkpath(deep + "/s1") && QDir().mkpath(deep + "/s2"));
    for (const char* list : {"Dir1", "Dir_Trekvane"}) f.Output(list, deep);  // as the window starts in a folder
    f.Add("Cmd_Add", {longFolder + "trip/day1.upt"});
    auto* dir1 = f.Get<FolderList>("Dir1");
    const auto item = [dir1](const char* name) {
      return dir1->findItems(name, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    };
    const auto shown = [&f](const char* list) {  // the rows wholly in view
      auto* folders = f.Get<QTreeWidget>(list);
      QStringList rows;
      for (QTreeWidgetItemIterator it(folders); *it != nullptr; ++it)
        if (folders->viewport()->rect().contains(folders->visualItemRect(*it))) rows << (*it)->text(0);
      return rows.join(' ');
    };
    f.Get<DriveList>("Drive1")->SetDrives({"/nowhere"});
    QVERIFY(f.Show());
    QCOMPARE(f.Get<QComboBox>("Drive1")->count(), MachineDrives().size());
    for (const char* list : {"Dir1", "Dir_Trekvane"})  // the list's end, with folders above filling the rest
      QVERIFY2(shown(list).endsWith(" g h s1 s2"), qPrintable(shown(list)));

    f.Get("List_OrigFile")->setStyle(&drawn);
    f.Get("List_OrigFile")->grab();
    const QString entry = drawn.texts.value(0);
    QCOMPARE(entry.left(1) + entry.right(14), QChar(0x2026) + QDir::toNativeSeparators("/trip/day1.upt"));
    const auto onScreen = [](const QWidget* w) { return QRect(w->mapToGlobal(QPoint(0, 0)), w->size()); };
    const std::tuple<const char*, const char*, QString> tips[] = {
        {"List_OrigFile", "Cmd_Add", f.Native(longFolder + "trip/day1.upt")},
        {"Dir1", "Cmd_Convert", QString::fromUtf8("输出文件夹：") + QDir::toNativeSeparators(deep)}};
    for (const auto& [name, button, text] : tips) {
      auto* list = f.Get<QAbstractItemView>(name);
      const QPoint at = list->visualRect(list->indexAt(QPoint(4, 4))).center();
      QHelpEvent help(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
      QCoreApplication::sendEvent(list->viewport(), &help);
      const QLabel* tip = nullptr;
      for (const QWidget* w : QApplication::topLevelWidgets())
        if (w->inherits("QTipLabel") && w->isVisible()) tip = qobject_cast<const QLabel*>(w);
      QVERIFY(tip != nullptr);
      QCOMPARE(tip->text().remove('\n'), text);
      QVERIFY(tip->x() >= onScreen(list).left() && tip->geometry().right() < onScreen(f.Get<QWidget>(button)).left());
    }

    QVERIFY(QDir(deep).mkdir("s3") && QDir(deep).mkdir("s4") && QDir(deep).mkdir("s5"));
    dir1->scrollToTop();
    f.Get<DriveList>("Drive1")->SetDrives({"/", deep, f.In("gone")});
    f.Get<DriveList>("Drive1")->setCurrentIndex(1);
    QVERIFY2(shown("Dir1").startsWith("g h s1 s2"), qPrintable(shown("Dir1")));
    QVERIFY(dir1->currentItem()->font(0).bold() && dir1->selectedItems().isEmpty());
    QTest::mouseClick(dir1->viewport(), Qt::LeftButton, {}, dir1->visualItemRect(item("s2")).center());
    QVERIFY(item("s2")->isSelected() && !item("s2")->font(0).bold());
    QCOMPARE(dir1->Path(), deep);
    QVERIFY(QDir(deep).mkdir("s6"));
    dir1->scrollToTop();
    dir1->Refresh();
    QVERIFY(item("s6") != nullptr && item("s2")->isSelected());
    QVERIFY2(shown("Dir1").startsWith("g h s1 s2"), qPrintable(shown("Dir1")));
    // A drive that cannot be read leaves the open folder as it is; a double click opens a subfolder.
    f.Get<DriveList>("Drive1")->setCurrentIndex(2);
    QCOMPARE(f.Get<DriveList>("Drive1")->Drive(), deep);
    const QPoint s2 = dir1->visualItemRect(item("s2")).center();
    QTest::mouseClick(dir1->viewport(), Qt::LeftButton, {}, s2);
    QTest::mouseDClick(dir1->viewport(), Qt::LeftButton, {}, s2);
    QCOMPARE(dir1->Path(), deep + "/s2");
    QCOMPARE(f.shown, QStringList({kMessage + QString::fromUtf8("无法读取“%1”，请检查！").arg(f.Native("gone"))}));
  }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
