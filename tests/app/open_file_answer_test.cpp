// The open-file dialog's answer, both as the dialog writes it and as the
// window reads it, and the texts shown for the batches' byte messages.
#include <QtTest>

#include "app/desktop.h"
#include "app/open_file_answer.h"
#include "app/text_bytes.h"

using carteloom::ChosenFiles;
using Files = std::vector<std::string>;

namespace {
std::string Bytes(const char* text, std::size_t size) { return std::string(text, size); }
}  // namespace

class OpenFileAnswerTest : public QObject {
  Q_OBJECT

 private slots:
  void ReadsTheAnswerAsWritten() {
    const std::vector<std::pair<std::string, Files>> cases{
        {Bytes("/gps/day1.upt\0\0", 15), {"/gps/day1.upt"}},
        {Bytes("/gps\0a.upt\0b.log\0\0", 18), {"/gps/a.upt", "/gps/b.log"}},
        {Bytes("  /gps/a b.upt\0\0   ", 19), {"/gps/a b.upt"}},  // blanks: the rest of the dialog's buffer
        {Bytes("/\0a.upt\0\0", 9), {"/a.upt"}},                // a root folder: still one separator
        {"", {}},
        {"/gps/day1.upt", {}},                                   // no NUL
        {Bytes("\0\0", 2), {}},
        {Bytes("/gps\0a.upt\0tail", 15), {"/gps/a.upt"}},         // unterminated name
        {Bytes("/gps\0a.upt\0\0b.upt\0", 19), {"/gps/a.upt"}},  // the list ends at "\0\0"
    };
    for (const auto& [answer, files] : cases) QCOMPARE(ChosenFiles(answer), files);

    std::string answer = "/field";
    answer += '\0';
    for (int i = 0; i < 120; ++i) answer += "point_" + std::to_string(i) + ".upt" + '\0';
    QCOMPARE(ChosenFiles(answer + '\0').size(), 120u);  // no limit on the names of one choice

    QVERIFY(carteloom::DialogAnswer({}).empty());
    QCOMPARE(ChosenFiles(carteloom::DialogAnswer({"/gps/b.upt", "/gps/a.upt"})), Files({"/gps/b.upt", "/gps/a.upt"}));
    QCOMPARE(ChosenFiles(carteloom::DialogAnswer({"/a.upt", "/b.upt"})), Files({"/a.upt", "/b.upt"}));
  }

  void ShowsUtf8TextsAndKeepsBrokenBytesVisible() {
    const std::string message = "/数据/day1.mif文件已存在，您是否要覆盖？";
    QCOMPARE(carteloom::ShownText(message), QString::fromUtf8(message.c_str()));
    // A stray byte is replaced, and the text around it survives.
    const QString shown = carteloom::ShownText(std::string("/gps/\xB5") + "x" + "已存在");
    QVERIFY(shown.startsWith("/gps/"));
    QVERIFY(shown.endsWith(QString::fromUtf8("x已存在")));
  }
};

QTEST_MAIN(OpenFileAnswerTest)
#include "open_file_answer_test.moc"
