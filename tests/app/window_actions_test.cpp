// Clicks through the window with scripted dialogs: choosing and removing
// sources, dropping files, both conversions, drives, folders and the cancel
// buttons.
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <fstream>
#include <memory>

#include "app/drive_list.h"
#include "app/folder_list.h"
#include "app/main_window.h"
#include "app/source_list.h"
#include "scripted_desktop.h"

using carteloom::testing::ScriptedDesktop;

namespace {

const QString kDuplicate = QString::fromUtf8("已经添加到源文件列表中!");
const QString kMessageTitle = QString::fromUtf8("消息");

std::string Answer(std::initializer_list<std::string> pieces) {
  std::string answer;
  for (const std::string& piece : pieces) answer += piece + '\0';
  return answer + '\0';
}

void Write(const QString& path, const std::string& bytes) {
  std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList Entries(const QListWidget* list) {
  QStringList entries;
  for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
  return entries;
}

// The window with its scripted desktop and quick access to its controls.
struct Fixture {
  ScriptedDesktop script;
  std::unique_ptr<carteloom::MainWindow> window;

  Fixture() : window(std::make_unique<carteloom::MainWindow>(script.Make())) {}
  template <typename T = QWidget>
  T* Get(const char* name) const {
    return window->findChild<T*>(name);
  }
  void Click(const char* button) const { QTest::mouseClick(Get<QPushButton>(button), Qt::LeftButton); }
  QString FolderOf(const char* folderList) const {
    return Get<carteloom::FolderList>(folderList)->Path();
  }
  // Chooses `root` as the only drive of a drive list, then double clicks a subfolder.
  void OpenFolder(const char* driveList, const char* folderList, const QString& root, const QString& sub) {
    auto* drives = Get<carteloom::DriveList>(driveList);
    drives->SetDrives({"/", root});
    drives->setCurrentIndex(1);
    auto* folder = Get<QTreeWidget>(folderList);
    QTreeWidgetItem* item = folder->findItems(sub, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    QVERIFY(item != nullptr);
    QRect place = folder->visualItemRect(item);
    QTest::mouseClick(folder->viewport(), Qt::LeftButton, {}, place.center());
    QTest::mouseDClick(folder->viewport(), Qt::LeftButton, {}, place.center());
  }
};

}  // namespace

class WindowActionsTest : public QObject {
  Q_OBJECT

 private slots:
  void AddsChosenFilesAndRefusesDuplicates() {
    Fixture f;
    f.script.openAnswers = {std::nullopt,
                            Answer({"/data", "a.upt", "b.log"}),
                            Answer({"/data", "A.upt", "b.log", "c.rte"})};
    f.Click("Cmd_Add");
    QCOMPARE(f.script.requests.size(), 1u);
    const carteloom::OpenFileRequest& request = f.script.requests[0];
    QCOMPARE(request.filterDescription, QString::fromUtf8("航路点、航迹、航线文件(*.upt;*.log;*.rte)"));
    QCOMPARE(request.filterPattern, QString("*.upt;*.log;*.rte"));
    QCOMPARE(request.title, QString::fromUtf8("打开要转换的航路点、航迹、航线文件"));
    QCOMPARE(request.initialFolder, QDir::currentPath());
    QVERIFY(f.script.shown.empty());

    auto* list = f.Get<QListWidget>("List_OrigFile");
    f.Click("Cmd_Add");
    f.Click("Cmd_Add");
    // The case variant is a file of its own; the duplicate is refused in its turn.
    QCOMPARE(Entries(list), QStringList({"/data/a.upt", "/data/b.log", "/data/A.upt", "/data/c.rte"}));
    QCOMPARE(f.script.shown.size(), 1u);
    QCOMPARE(f.script.shown[0].text, "/data/b.log" + kDuplicate);
    QCOMPARE(f.script.shown[0].title, kMessageTitle);
    QCOMPARE(f.Get<QListWidget>("List_MifFile")->count(), 0);
  }

  void RootFolderChoicesMeetTheSingleChoice() {
    Fixture f;
    f.script.openAnswers = {Answer({"/", "x.mif", "y.mif"}), std::string("/x.mif") + '\0' + '\0'};
    f.Click("Cmd_addMif");
    f.Click("Cmd_addMif");
    QCOMPARE(f.script.requests[0].filterDescription, QString::fromUtf8("MapInfo Mif文件 (*.mif)"));
    QCOMPARE(f.script.requests[0].title, QString::fromUtf8("打开要转换的MapInfo的Mif文件"));
    QCOMPARE(Entries(f.Get<QListWidget>("List_MifFile")), QStringList({"/x.mif", "/y.mif"}));
    QCOMPARE(f.script.Texts("message"), QStringList({"/x.mif" + kDuplicate}));
  }

  void RemovesTheSelectedEntry() {
    Fixture f;
    f.script.openAnswers = {Answer({"/d", "1.mif", "2.mif", "3.mif"})};
    f.Click("Cmd_addMif");
    auto* list = f.Get<QListWidget>("List_MifFile");
    f.Click("Cmd_RemoveFile");  // nothing selected
    QCOMPARE(list->count(), 3);
    list->setCurrentRow(1);
    f.Click("Cmd_RemoveFile");
    QCOMPARE(Entries(list), QStringList({"/d/1.mif", "/d/3.mif"}));
    list->setCurrentRow(1);
    f.Click("Cmd_RemoveFile");
    QCOMPARE(Entries(list), QStringList({"/d/1.mif"}));
  }

  void DroppedFilesAreAddedLikeChosenOnes() {
    QTemporaryDir temp;
    const QString a = temp.filePath("a.upt"), b = temp.filePath("b.upt");
    Write(a, "");
    Write(b, "");
    Fixture f;
    auto* list = f.Get<QListWidget>("List_OrigFile");
    const auto drop = [&](const QList<QUrl>& urls) {
      QMimeData data;
      data.setUrls(urls);
      // As a file manager drags: the list accepts the files first, then takes the drop.
      QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(list->viewport(), &enter);
      QVERIFY(enter.isAccepted());
      QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(list->viewport(), &drop);
    };
    drop({QUrl::fromLocalFile(b), QUrl::fromLocalFile(temp.path())});  // a folder is no source
    drop({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
    QCOMPARE(Entries(list), QStringList({b, a}));
    QCOMPARE(f.script.Texts("message"), QStringList({b + kDuplicate}));
  }

  void ConvertsReceiverFilesIntoTheChosenFolder() {
    QTemporaryDir temp;
    QDir(temp.path()).mkdir("out");
    const std::string waypoint = "$PZTJWPL,3954.450,N,11623.483,E,0000000,M,WELL01,,a*45\r\n";
    Write(temp.filePath("day1.upt"), waypoint);
    Write(temp.filePath("day2.upt"), waypoint);
    Fixture f;
    f.OpenFolder("Drive1", "Dir1", temp.path(), "out");
    QCOMPARE(f.FolderOf("Dir1"), temp.filePath("out"));
    f.script.openAnswers = {Answer({temp.path().toStdString(), "day1.upt", "day2.upt"})};
    f.Click("Cmd_Add");
    f.Click("Cmd_Convert");

    for (const char* name : {"out/day1.mif", "out/day2.mif"}) QVERIFY(Read(temp.filePath(name)).contains("Point"));
    QCOMPARE(Read(temp.filePath("out/day1.mid")), QByteArray("WELL01\r\n"));
    QCOMPARE(f.Get<QListWidget>("List_OrigFile")->count(), 0);
    QCOMPARE(f.script.shown.size(), 1u);
    QCOMPARE(f.script.shown[0].text,
             QString::fromUtf8("共计 2个Trekvane航路点、航迹、航线文件已转换成MapInfo的Mif文件！"));
    QCOMPARE(f.script.shown[0].title, kMessageTitle);
    QVERIFY(f.Get<QGroupBox>("Frame1")->isEnabled());
    QCOMPARE(f.Get<QProgressBar>("ProgressBar1")->value(), 0);
  }

  void ConvertsMifFilesAndAsksBeforeReplacing() {
    QTemporaryDir temp;
    QDir(temp.path()).mkdir("card");
    Write(temp.filePath("wells.mif"),
          "Version 300\r\nCharset \"Neutral\"\r\nDelimiter \",\"\r\nCoordSys Earth Projection 1, 104\r\n"
          "Columns 1\r\n  Name Char(20)\r\nData\r\n\r\nPoint 116.39139 39.9075\r\n    Symbol (35,0,12)\r\n");
    Write(temp.filePath("wells.mid"), "WELL01\r\n");
    const QByteArray expected = "$PZTJWPL,3954.450,N,11623.483,E,0000000,M,WELL01,,a*45\r\n";
    Fixture f;
    f.OpenFolder("Drive_Trekvane", "Dir_Trekvane", temp.path(), "card");
    const std::string source = temp.filePath("wells.mif").toStdString();
    f.script.openAnswers = {source + '\0' + '\0', source + '\0' + '\0'};

    f.Click("Cmd_addMif");
    f.Click("Cmd_ConvertTrekvane");
    QCOMPARE(Read(temp.filePath("card/wells.upt")), expected);
    QCOMPARE(f.Get<QListWidget>("List_MifFile")->count(), 0);
    const QString summary = QString::fromUtf8("共计 1个MapInfo的Mif文件转成Trekvane的航路点、航迹、航线文件！");
    QCOMPARE(f.script.Texts("message"), QStringList({summary}));
    auto* progress = f.Get<QProgressBar>("ProgressBar1");
    QCOMPARE(progress->maximum(), 500);
    QCOMPARE(progress->value(), 0);

    // Again: the output exists; Cancel, then the proposed new name.
    f.script.shown.clear();
    f.script.questionAnswers = {false};
    f.script.inputAnswers = {"wells_2"};
    f.Click("Cmd_addMif");
    f.Click("Cmd_ConvertTrekvane");
    QCOMPARE(f.script.shown.size(), 3u);
    QCOMPARE(f.script.shown[0].text, temp.filePath("card/wells.upt") + QString::fromUtf8(" 已存在，是否覆盖？"));
    QCOMPARE(f.script.shown[0].title, QString("Message"));
    QCOMPARE(f.script.shown[1].text, QString::fromUtf8("文件重命名为|wells_2"));
    QCOMPARE(f.script.shown[1].title, QString::fromUtf8("请输入一个新的文件名！"));
    QCOMPARE(f.script.shown[2].text, summary);
    QCOMPARE(Read(temp.filePath("card/wells_2.upt")), expected);
  }

  void EmptyListsGiveTheSummaryAtOnceAndBlockTheWindowMeanwhile() {
    Fixture f;
    f.window->show();
    int blockedClicks = 0;
    f.script.whileMessageShown = [&] {
      // Neither a second convert click nor closing the window gets through.
      QVERIFY(!f.Get<QPushButton>("Cmd_Convert")->isEnabled());
      QVERIFY(!f.Get<QPushButton>("Cmd_ConvertTrekvane")->isEnabled());
      QVERIFY(!f.window->close());
      ++blockedClicks;
    };
    f.Click("Cmd_Convert");
    f.Click("Cmd_ConvertTrekvane");
    QCOMPARE(f.script.Texts("message").size(), 2);
    QVERIFY(f.script.Texts("message")[0].startsWith(QString::fromUtf8("共计 0个")));
    QVERIFY(f.script.Texts("message")[1].startsWith(QString::fromUtf8("共计 0个")));
    QCOMPARE(blockedClicks, 2);
    QVERIFY(f.Get<QPushButton>("Cmd_Convert")->isEnabled());
    QVERIFY(f.window->close());
  }

  void DriveChangesMoveTheFolderListsOnlyToReadableFolders() {
    QTemporaryDir temp;
    const QString missing = temp.filePath("gone");
    Fixture f;
    for (auto [driveList, folderList] : {std::pair{"Drive1", "Dir1"}, std::pair{"Drive_Trekvane", "Dir_Trekvane"}}) {
      auto* drives = f.Get<carteloom::DriveList>(driveList);
      drives->SetDrives({"/", temp.path(), missing});
      drives->ShowDriveOf(f.FolderOf(folderList));

      drives->setCurrentIndex(1);
      QCOMPARE(f.FolderOf(folderList), temp.path());

      f.script.shown.clear();
      drives->setCurrentIndex(2);
      QCOMPARE(f.script.shown.size(), 1u);
      QVERIFY(f.script.shown[0].text.contains(missing));
      QCOMPARE(f.script.shown[0].title, kMessageTitle);
      QCOMPARE(f.FolderOf(folderList), temp.path());
      QCOMPARE(drives->Drive(), temp.path());
    }
  }

  void CancelButtonsEndTheProgram() {
    Fixture f;
    f.script.openAnswers = {Answer({"/d", "1.upt"})};
    f.Click("Cmd_Add");
    f.Click("Cmd_Cancle");
    QCOMPARE(f.script.endRequests, 1);
    f.Click("Cmd_CancleTrekvane");
    QCOMPARE(f.script.endRequests, 2);
    QVERIFY(f.script.shown.empty());
  }
};

QTEST_MAIN(WindowActionsTest)
#include "window_actions_test.moc"
