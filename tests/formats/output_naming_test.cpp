#include <gtest/gtest.h>

#include "formats/output_naming.h"
#include "formats/paths.h"
#include "support/test_support.h"

namespace carteloom {
namespace {

using testing::ScriptedUi;

TEST(Paths, SuffixAndBaseName) {
  EXPECT_EQ(TypeSuffix("/gps/day1.upt"), ".upt");
  EXPECT_EQ(TypeSuffix("/gps.v2/day1"), ".v2/day1");
  EXPECT_EQ(TypeSuffix("/gps/day1"), "");
  EXPECT_EQ(BaseName("/gps/day1.upt"), "day1");
  EXPECT_EQ(BaseName("/gps/a.b.UPT"), "a.b");
  EXPECT_EQ(BaseName("day1.upt"), "day1");
  EXPECT_EQ(BaseName("/gps/abc"), "");
  EXPECT_EQ(InFolder("/out", "day1.mif"), std::string("/out") + kSeparator + "day1.mif");
  EXPECT_EQ(InFolder("/", "day1.mif"), std::string("/") + kSeparator + "day1.mif");
}

TEST(Paths, FileNamesThatCannotLeaveTheFolder) {
  EXPECT_TRUE(IsValidFileName("day1_2"));
  EXPECT_TRUE(IsValidFileName("\xCE\xB4\xC3\xFC"));
  for (const char* bad : {"", "a/b", "a\\b", "..", ".", "a:b", "a*b", "a?b", "a|b", "a<b", "a\nb"})
    EXPECT_FALSE(IsValidFileName(bad)) << bad;
}

TEST(ConfirmOutputName, FreeNameNeedsNoQuestion) {
  testing::ScratchFolder out;
  testing::WriteBytes(out / "day1.mid", "only the MID exists");
  ScriptedUi ui;
  NamingResult result = ConfirmOutputName(ui, "/gps/day1.upt", out.Path().string());
  EXPECT_EQ(result.outcome, NamingOutcome::Settled);
  EXPECT_EQ(result.baseName, "day1");
  EXPECT_TRUE(ui.shown.empty());
}

TEST(ConfirmOutputName, OverwriteKeepsTheName) {
  testing::ScratchFolder out;
  testing::WriteBytes(out / "day1.mif", "");
  ScriptedUi ui;
  ui.overwriteAnswers = {OverwriteAnswer::Overwrite};
  NamingResult result = ConfirmOutputName(ui, "/gps/day1.upt", out.Path().string());
  EXPECT_EQ(result.baseName, "day1");
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(ui.shown[0].text, (out / "day1.mif") + "文件已存在，您是否要覆盖？");
  EXPECT_EQ(ui.shown[0].title, "消息");
}

TEST(ConfirmOutputName, RenameLoopsUntilAFreeValidName) {
  testing::ScratchFolder out;
  testing::WriteBytes(out / "day1.mif", "");
  testing::WriteBytes(out / "day1_2.mif", "");
  ScriptedUi ui;
  ui.overwriteAnswers = {OverwriteAnswer::Rename};
  // Taken name, cancelled box, a name with a separator, then a free name.
  ui.textAnswers = {"day1_2", "", "../escape", "day3"};
  NamingResult result = ConfirmOutputName(ui, "/gps/day1.upt", out.Path().string());
  EXPECT_EQ(result.outcome, NamingOutcome::Settled);
  EXPECT_EQ(result.baseName, "day3");
  EXPECT_EQ(ui.proposals, (std::vector<std::string>{"day1_2", "day1_2_2", "_2", "_2"}));
  EXPECT_EQ(ui.shown[1].text, "文件重命名为");
  EXPECT_EQ(ui.shown[1].title, "请重新为文件命名！");
}

TEST(ReceiverDialog, OwnTextsAndABlankAnswerEndsTheBatch) {
  testing::ScratchFolder out;
  testing::WriteBytes(out / "wells.upt", "");
  ScriptedUi ui;
  ui.overwriteAnswers = {OverwriteAnswer::Rename};
  ui.textAnswers = {"   "};
  NamingResult result = SettleOutputName(ui, out.Path().string(), "wells", ".upt", kReceiverOverwriteDialog);
  EXPECT_EQ(result.outcome, NamingOutcome::BatchEnded);
  EXPECT_EQ(ui.shown[0].text, (out / "wells.upt") + " 已存在，是否覆盖？");
  EXPECT_EQ(ui.shown[0].title, "Message");
  EXPECT_EQ(ui.shown[1].title, "请输入一个新的文件名！");
  EXPECT_EQ(ui.proposals, std::vector<std::string>{"wells_2"});
}

TEST(ReceiverDialog, SkipLeavesTheFileAlone) {
  testing::ScratchFolder out;
  testing::WriteBytes(out / "wells.upt", "keep");
  ScriptedUi ui;
  ui.overwriteAnswers = {OverwriteAnswer::Skip};
  EXPECT_EQ(SettleOutputName(ui, out.Path().string(), "wells", ".upt", kReceiverOverwriteDialog).outcome,
            NamingOutcome::Skipped);
  ui.overwriteAnswers = {OverwriteAnswer::Rename};
  ui.textAnswers = {std::nullopt};
  EXPECT_EQ(SettleOutputName(ui, out.Path().string(), "wells", ".upt", kReceiverOverwriteDialog).outcome,
            NamingOutcome::Skipped);
}

}  // namespace
}  // namespace carteloom
