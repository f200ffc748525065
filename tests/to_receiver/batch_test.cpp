#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "mif_samples.h"
#include "to_receiver/to_receiver_batch.h"

namespace carteloom {
namespace {

using testing::MifText;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::ScriptedUi;
using testing::WriteBytes;

const std::string kSummaryTail = "个MapInfo的Mif文件转成Trekvane的航路点、航迹、航线文件！";
const std::string kWgs84Message = "该Mif文件不是WGS84坐标系,请在MapInfo中转换成WGS84坐标系后再转入!";

struct Batch {
  ScratchFolder in;
  ScratchFolder out;
  ScriptedUi ui;
  BatchResult result;

  std::string Add(const std::string& name, const std::string& mif, const std::string& mid,
                  const std::string& midSuffix = ".mid") {
    WriteBytes(in / (name + ".mif"), mif);
    WriteBytes(in / (name + midSuffix), mid);
    ui.sources.push_back(in / (name + ".mif"));
    return ui.sources.back();
  }
  void Run() { result = RunToReceiverBatch(ui, out.Path().string()); }
  std::string Output(const std::string& name) const { return ReadBytes(out / name); }
  bool HasOutput(const std::string& name) const { return std::filesystem::exists(out / name); }
  std::size_t FilesInOutput() const {
    std::size_t n = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(out.Path())) ++n;
    return n;
  }
};

std::string OnePoint() { return MifText({"Point 116.39139 39.9075", "    Symbol (35,0,12)"}); }
std::string OneLine() { return MifText({"Line 116 39 116.5 39.5", "    Pen (1,2,0)"}); }

TEST(ToReceiverBatch, ConvertsEveryEntryAndCountsThem) {
  Batch b;
  b.Add("wells", OnePoint(), "\"WELL01\"\n");
  b.Add("roads", OneLine(), "\"ROAD1\"\n", ".MID");  // copied from Windows media
  b.Add("extra", OnePoint(), "one\ntwo\nthree\n");    // surplus rows end nothing
  b.Run();
  EXPECT_EQ(b.Output("wells.upt"), "$PZTJWPL,3954.450,N,11623.483,E,0000000,M,WELL01,,a*45\r\n");
  EXPECT_NE(b.Output("roads.rte").find(",ROAD1,WPT001_1,a,WPT002_1,a*"), std::string::npos);
  EXPECT_TRUE(b.HasOutput("extra.upt"));
  EXPECT_TRUE(b.ui.sources.empty());
  EXPECT_EQ(b.result.converted, 3u);
  EXPECT_EQ(b.ui.progressMaximum, 500);
  EXPECT_EQ(b.ui.progressValues.back(), 0);
  ASSERT_EQ(b.ui.shown.size(), 1u);
  EXPECT_EQ(b.ui.shown[0].kind, "summary");
  EXPECT_EQ(b.ui.shown[0].text, "共计 3" + kSummaryTail);
  EXPECT_EQ(b.ui.shown[0].title, "消息");
  EXPECT_EQ(b.FilesInOutput(), 3u);  // no temporary files left behind
}

TEST(ToReceiverBatch, RefusedLayerIsRemovedAndNotCounted) {
  Batch b;
  b.Add("regions", MifText({"Region 1", "  3", "1 1", "2 2", "1 1"}), "\"R\"\n");
  b.Add("wells", OnePoint(), "\"WELL01\"\n");
  b.Run();
  ASSERT_EQ(b.ui.shown.size(), 2u);
  EXPECT_EQ(b.ui.shown[0].text, "此文件不是一个有效的MapInfo单独点,线Mif文件,请检查！");
  EXPECT_EQ(b.ui.shown[0].title, kProgramTitle);
  EXPECT_EQ(b.ui.shown[1].text, "共计 1" + kSummaryTail);
  EXPECT_TRUE(b.ui.sources.empty());
  EXPECT_EQ(b.FilesInOutput(), 1u);
}

TEST(ToReceiverBatch, OtherCoordinateSystemEndsTheBatch) {
  Batch b;
  b.Add("wells", OnePoint(), "\"WELL01\"\n");
  std::string utm = b.Add("utm", MifText({"Pline 2", "1 2", "3 4"}, "CoordSys Earth Projection 8, 104"), "a\n");
  std::string later = b.Add("later", OnePoint(), "\"X\"\n");
  b.Run();
  ASSERT_EQ(b.ui.shown.size(), 1u);
  EXPECT_EQ(b.ui.shown[0].text, kWgs84Message);
  EXPECT_EQ(b.ui.shown[0].title, "消息");
  EXPECT_EQ(b.ui.sources, (std::vector<std::string>{utm, later}));
  EXPECT_EQ(b.result.converted, 1u);
  EXPECT_FALSE(b.HasOutput("utm.rte"));
}

TEST(ToReceiverBatch, OverwriteDialogueOfThisDirection) {
  Batch b;
  b.Add("wells", OnePoint(), "\"WELL01\"\n");
  WriteBytes(b.out / "wells.upt", "old");
  WriteBytes(b.out / "wells_2.upt", "old");
  b.ui.overwriteAnswers = {OverwriteAnswer::Rename};
  b.ui.textAnswers = {"wells_2", "new"};
  b.Run();
  ASSERT_GE(b.ui.shown.size(), 3u);
  EXPECT_EQ(b.ui.shown[0].text, (b.out / "wells.upt") + " 已存在，是否覆盖？");
  EXPECT_EQ(b.ui.shown[0].title, "Message");
  EXPECT_EQ(b.ui.shown[1].text, "文件重命名为");
  EXPECT_EQ(b.ui.shown[1].title, "请输入一个新的文件名！");
  EXPECT_EQ(b.ui.proposals, (std::vector<std::string>{"wells_2", "wells_2_2"}));
  EXPECT_EQ(b.Output("wells.upt"), "old");
  EXPECT_NE(b.Output("new.upt").find("WELL01"), std::string::npos);

  // A blank name ends the batch: nothing written, the entry stays, no summary.
  Batch blank;
  std::string entry = blank.Add("wells", OnePoint(), "\"WELL01\"\n");
  WriteBytes(blank.out / "wells.upt", "old");
  blank.ui.overwriteAnswers = {OverwriteAnswer::Rename};
  blank.ui.textAnswers = {"  "};
  blank.Run();
  EXPECT_EQ(blank.ui.sources, std::vector<std::string>{entry});
  EXPECT_EQ(blank.ui.shown.back().kind, "input");
  EXPECT_EQ(blank.Output("wells.upt"), "old");
  EXPECT_EQ(blank.FilesInOutput(), 1u);
}

TEST(ToReceiverBatch, FileLeftAloneStaysAndTheBatchGoesOn) {
  Batch b;
  std::string kept = b.Add("wells", OnePoint(), "\"WELL01\"\n");
  b.Add("roads", OneLine(), "\"R\"\n");
  WriteBytes(b.out / "wells.upt", "old");
  b.ui.overwriteAnswers = {OverwriteAnswer::Skip};
  b.Run();
  EXPECT_EQ(b.ui.sources, std::vector<std::string>{kept});
  EXPECT_EQ(b.Output("wells.upt"), "old");
  EXPECT_TRUE(b.HasOutput("roads.rte"));
  EXPECT_EQ(b.ui.shown.back().text, "共计 1" + kSummaryTail);
}

TEST(ToReceiverBatch, FurtherWaypointFilesAreNotReplacedSilently) {
  Batch b;
  b.Add("big", testing::PointLayer(700), testing::NumberedNames(700));
  WriteBytes(b.out / "big2.upt", "old");
  b.ui.overwriteAnswers = {OverwriteAnswer::Rename};
  b.ui.textAnswers = {"second"};
  b.Run();
  ASSERT_EQ(b.ui.shown.size(), 3u);
  EXPECT_EQ(b.ui.shown[0].text, (b.out / "big2.upt") + " 已存在，是否覆盖？");
  EXPECT_EQ(b.ui.proposals, std::vector<std::string>{"big2_2"});
  EXPECT_EQ(b.Output("big2.upt"), "old");
  std::string first = b.Output("big.upt");
  EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 499);
  EXPECT_EQ(b.Output("second.upt").find("$PZTJWPL,3930.000,N,11630.000,E,0000000,M,P500,,a*"), 0u);
  EXPECT_EQ(b.ui.progressValues.at(499), 0);
}

TEST(ToReceiverBatch, UnreadableFilesStopTheBatchNamingTheFile) {
  Batch missingMid;
  std::string entry = missingMid.Add("wells", OnePoint(), "", ".txt");
  missingMid.Run();
  ASSERT_EQ(missingMid.ui.shown.size(), 1u);
  EXPECT_NE(missingMid.ui.shown[0].text.find(missingMid.in / "wells.mid"), std::string::npos);
  EXPECT_NE(missingMid.ui.shown[0].text.find("不存在"), std::string::npos);
  EXPECT_EQ(missingMid.ui.sources, std::vector<std::string>{entry});
  EXPECT_EQ(missingMid.FilesInOutput(), 0u);

  Batch noFolder;
  noFolder.Add("roads", OneLine(), "\"R\"\n");
  noFolder.result = RunToReceiverBatch(noFolder.ui, noFolder.out / "gone");
  ASSERT_EQ(noFolder.ui.shown.size(), 1u);
  EXPECT_NE(noFolder.ui.shown[0].text.find(noFolder.out / "gone"), std::string::npos);
  EXPECT_EQ(noFolder.ui.sources.size(), 1u);
  EXPECT_EQ(noFolder.result.converted, 0u);
}

}  // namespace
}  // namespace carteloom
