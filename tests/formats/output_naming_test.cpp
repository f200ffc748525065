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
