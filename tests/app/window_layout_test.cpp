// The window's controls against their layout table: names, kinds,
// containers, captions, places in twips and the keyboard order.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QtTest>

#include "app/main_window.h"
#include "scripted_desktop.h"

using carteloom::MainWindow;

namespace {

struct Control {
  const char* name;
  const char* kind;       // the Qt class standing in for the control
  const char* container;  // object name of its parent
  const char* caption;    // "" for controls without one
  int left, top, width, height;  // twips
};

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

QString Caption(const QWidget* widget) {
  if (auto* frame = qobject_cast<const QGroupBox*>(widget)) return frame->title();
  if (auto* button = qobject_cast<const QPushButton*>(widget)) return button->text();
  return {};
}

}  // namespace

class WindowLayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void ControlsFollowTheTable() {
    carteloom::testing::ScriptedDesktop script;
    MainWindow window(script.Make());
    for (const Control& control : kControls) {
      const auto* widget = window.findChild<QWidget*>(control.name);
      QVERIFY2(widget != nullptr, control.name);
      QVERIFY2(widget->inherits(control.kind), control.name);
      QCOMPARE(widget->parentWidget()->objectName(), QString(control.container));
      QCOMPARE(Caption(widget), QString::fromUtf8(control.caption));
      QCOMPARE(widget->geometry(),
               QRect(control.left / 15, control.top / 15, control.width / 15, control.height / 15));
    }
  }

  void TabOrderFollowsTheTable() {
    carteloom::testing::ScriptedDesktop script;
    MainWindow window(script.Make());
    const QStringList expected{"List_OrigFile", "Cmd_Add",        "Cmd_Remove",   "Drive1",
                               "Dir1",          "Cmd_Cancle",     "Cmd_Convert",  "Cmd_ConvertTrekvane",
                               "Cmd_CancleTrekvane", "Dir_Trekvane", "Drive_Trekvane", "Cmd_RemoveFile",
                               "Cmd_addMif",    "List_MifFile"};
    QStringList seen;
    QWidget* widget = window.findChild<QWidget*>("List_OrigFile");
    for (int step = 0; step < 200 && seen.size() < expected.size(); ++step) {
      if (widget->focusPolicy() & Qt::TabFocus && expected.contains(widget->objectName()))
        seen << widget->objectName();
      widget = widget->nextInFocusChain();
    }
    QCOMPARE(seen, expected);
  }

  void WindowIsFixedCentredAndWhiteInTheCurrentFolder() {
    carteloom::testing::ScriptedDesktop script;
    MainWindow window(script.Make());
    QCOMPARE(window.objectName(), QString("Frm_Carteloom"));
    QCOMPARE(window.windowTitle(), QString::fromUtf8("Trekvane航路点、航迹、航线转换成MapInfo Mif格式"));
    QCOMPARE(window.minimumSize(), QSize(731, 569));
    QCOMPARE(window.maximumSize(), QSize(731, 569));
    QVERIFY(!(window.windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
    QVERIFY(window.windowFlags() & Qt::WindowCloseButtonHint);
    const QPoint offset = window.geometry().center() - window.screen()->availableGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 2, "not centred");
    QCOMPARE(window.palette().color(QPalette::Window), QColor(Qt::white));

    const auto* progress = window.findChild<QProgressBar*>("ProgressBar1");
    QCOMPARE(progress->minimum(), 0);
    QCOMPARE(progress->maximum(), 100);
    QCOMPARE(progress->value(), 0);

    QCOMPARE(window.findChild<QLabel*>("Image1")->pixmap().size(), QSize(450, 100));
    const QList<QSize> iconSizes = window.windowIcon().availableSizes();
    QVERIFY(iconSizes.contains(QSize(32, 32)));
    QVERIFY(iconSizes.contains(QSize(16, 16)));

    // Both folder lists start in the current folder, on a drive of their list.
    for (const char* name : {"Dir1", "Dir_Trekvane"})
      QCOMPARE(window.findChild<QTreeWidget*>(name)->currentItem()->data(0, Qt::UserRole).toString(), QDir::currentPath());
    for (const char* name : {"Drive1", "Drive_Trekvane"}) QVERIFY(window.findChild<QComboBox*>(name)->currentIndex() >= 0);
  }
};

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
