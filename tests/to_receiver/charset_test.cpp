// Names reach the receiver as GBK whatever character set the MIF/MID pair
// was written in.
#include <gtest/gtest.h>

#include "formats/mif_reader.h"
#include "support/test_support.h"
#include "to_receiver/name_charset.h"
#include "to_receiver/to_receiver_batch.h"

namespace carteloom {
namespace {

using testing::CrLf;
using testing::ReadBytes;
using testing::RunCommand;
using testing::ScratchFolder;
using testing::ScriptedUi;
using testing::WriteBytes;

const std::string kSpring = "\xC8\xAA\xD1\xDB";  // 泉眼 in GBK

std::string PointLayer(const std::string& charset) {
  return CrLf({"Version 300", "Charset \"" + charset + "\"", "Delimiter \",\"",
               "CoordSys Earth Projection 1, 104", "Columns 1", "  name Char(20)", "Data", "Point 116.39139 39.9075",
               "Point 116.5 39.5"});
}

TEST(NameCharset, HeaderClauseAndMidBytesDecide) {
  ScratchFolder folder;
  WriteBytes(folder / "utf8.mid", "\xE6\xB3\x89\xE7\x9C\xBC\n");
  WriteBytes(folder / "gbk.mid", kSpring + "\n");
  WriteBytes(folder / "ascii.mid", "WELL01\n");
  EXPECT_EQ(MifScanner("Version 300\r\ncharset  \"WindowsLatin1\"\r\nData\r\n").Charset(), "WindowsLatin1");
  EXPECT_EQ(MifScanner("Version 300\nData\n").Charset(), "");
  EXPECT_EQ(NameCodePage("Neutral", folder / "utf8.mid"), 65001);
  EXPECT_EQ(NameCodePage("", folder / "utf8.mid"), 65001);
  EXPECT_EQ(NameCodePage("NEUTRAL", folder / "gbk.mid"), std::nullopt);
  EXPECT_EQ(NameCodePage("Neutral", folder / "ascii.mid"), std::nullopt);
  EXPECT_EQ(NameCodePage("WindowsSimpChinese", folder / "utf8.mid"), std::nullopt);
  EXPECT_EQ(NameCodePage("UTF-8", folder / "gbk.mid"), 65001);
  EXPECT_EQ(NameCodePage("windowstradchinese", folder / "gbk.mid"), 950);
  EXPECT_EQ(NameCodePage("SomethingElse", folder / "utf8.mid"), std::nullopt);
}

TEST(NameCharset, NamesAreRecodedAndLossIsReportedOnce) {
  ScratchFolder in, out;
  // Big5 names under WindowsTradChinese; UTF-8 names, one with characters
  // GBK cannot hold (Thai, an emoji).
  WriteBytes(in / "big5.mif", PointLayer("WindowsTradChinese"));
  WriteBytes(in / "big5.mid", "\xA5\xBC\xA9\x52\xA6\x57\r\nA1\r\n");
  WriteBytes(in / "utf8.mif", PointLayer("UTF-8"));
  WriteBytes(in / "utf8.mid", "\"\xE6\xB3\x89\xE7\x9C\xBC\"\n\"x\xE0\xB8\x81\xF0\x9F\x98\x80\"\n");
  WriteBytes(in / "gbk.mif", PointLayer("Neutral"));
  WriteBytes(in / "gbk.mid", kSpring + "\r\n\xCE\xB4\xC3\xFC\r\n");

  ScriptedUi ui({in / "big5.mif", in / "utf8.mif", in / "gbk.mif"});
  BatchResult result = RunToReceiverBatch(ui, out.Path().string());
  EXPECT_EQ(result.converted, 3u);
  EXPECT_EQ(ReadBytes(out / "big5.upt"), CrLf({"$PZTJWPL,3954.450,N,11623.483,E,0000000,M,\xCE\xB4\xC3\xFC\xC3\xFB,,a*2B",
                                              "$PZTJWPL,3930.000,N,11630.000,E,0000000,M,A1,,a*28"}));
  std::string utf8 = ReadBytes(out / "utf8.upt");
  EXPECT_NE(utf8.find(",M," + kSpring + ",,a*"), std::string::npos);
  EXPECT_NE(utf8.find(",M,x??,,a*"), std::string::npos);
  // A pair in GBK under "Neutral", as this system writes it, keeps its bytes.
  EXPECT_NE(ReadBytes(out / "gbk.upt").find(",M,\xCE\xB4\xC3\xFC,,a*"), std::string::npos);

  ASSERT_EQ(ui.shown.size(), 2u);
  EXPECT_EQ(ui.shown[0].text, "文件 " + (in / "utf8.mif") + " 中有 1 个名称含有GBK无法表示的字符，已改为“?”。");
  EXPECT_EQ(ui.shown[0].title, "消息");
  EXPECT_EQ(ui.shown[1].kind, "summary");
}

TEST(NameCharset, GdalPairsInUtf8AndCp936GiveTheSameGbkNames) {
  SKIP_WITHOUT_POSIX_SHELL();
  if (RunCommand("command -v ogr2ogr >/dev/null 2>&1") != 0) GTEST_SKIP() << "ogr2ogr is not installed";
  ScratchFolder in, utf8Out, cp936Out;
  WriteBytes(in / "layer.json",
             R"({"type":"FeatureCollection","features":[)"
             R"({"type":"Feature","properties":{"name":"泉眼"},"geometry":{"type":"Point","coordinates":[116.5,39.5]}},)"
             R"({"type":"Feature","properties":{"name":"未命名, 2"},"geometry":{"type":"Point","coordinates":[116,39]}}]})");
  WriteBytes(in / "roads.json",
             R"({"type":"FeatureCollection","features":[{"type":"Feature","properties":{"name":"河堤路"},)"
             R"("geometry":{"type":"LineString","coordinates":[[116,39],[116.5,39.5]]}}]})");
  for (std::string layer : {"layer", "roads"}) {
    ASSERT_EQ(RunCommand("ogr2ogr -f 'MapInfo File' '" + (in / (layer + "_utf8.mif")) + "' '" + (in / (layer + ".json")) +
                         "' >/dev/null 2>&1"),
              0);
    ASSERT_EQ(RunCommand("ogr2ogr -f 'MapInfo File' -lco ENCODING=CP936 '" + (in / (layer + "_cp936.mif")) + "' '" +
                         (in / (layer + ".json")) + "' >/dev/null 2>&1"),
              0);
  }
  ASSERT_NE(ReadBytes(in / "layer_utf8.mid").find("\xE6\xB3\x89"), std::string::npos);  // GDAL wrote UTF-8

  for (std::string layer : {"layer", "roads"}) {
    ScriptedUi fromUtf8({in / (layer + "_utf8.mif")}), fromCp936({in / (layer + "_cp936.mif")});
    EXPECT_EQ(RunToReceiverBatch(fromUtf8, utf8Out.Path().string()).converted, 1u);
    EXPECT_EQ(RunToReceiverBatch(fromCp936, cp936Out.Path().string()).converted, 1u);
  }
  std::string points = ReadBytes(utf8Out / "layer_utf8.upt");
  EXPECT_EQ(points, ReadBytes(cp936Out / "layer_cp936.upt"));
  EXPECT_NE(points.find(",M," + kSpring + ",,a*"), std::string::npos);
  EXPECT_NE(points.find(",M,\xCE\xB4\xC3\xFC\xC3\xFB_ 2,,a*"), std::string::npos);  // "," made safe
  std::string routes = ReadBytes(utf8Out / "roads_utf8.rte");
  EXPECT_EQ(routes, ReadBytes(cp936Out / "roads_cp936.rte"));
  EXPECT_NE(routes.find(",c,1,\xBA\xD3\xB5\xCC\xC2\xB7,WPT001_1,"), std::string::npos);
}

}  // namespace
}  // namespace carteloom
