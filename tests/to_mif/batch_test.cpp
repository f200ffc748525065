// The receiver-to-MIF batch: what is converted, refused and reported, and that
// a pair already in place is replaced only when the user says so.
#include <gtest/gtest.h>

#include "files/paths.h"
#include "support/test_support.h"
#include "to_mif/to_mif_batch.h"

namespace carteloom::testing {
namespace {

const std::string kData = std::string(CARTELOOM_TEST_DATA) + "/to_mif/";
const std::string kRefused = "此文件不是一个有效的Trekvane航路点、航迹或航线文件，请检查！";

TEST(ToMifBatch, ConvertsInListOrderAndReportsWhatItCannot) {
  ScratchFolder in, out;
  WriteBytes(in / "notes.txt", "text");
  WriteBytes(in / "day2.UPT", ReadBytes(kData + "wells.upt"));
  WriteBytes(in / "noise.upt", std::string(3000, '\x9C'));  // not one receiver record
  WriteBytes(out / "notes.mif", "keep");
  ScriptedUi ui({in / "notes.txt", in / "day2.UPT", in / "noise.upt", in / "gone.upt", kData + "wells.upt",
                 kData + "day1.log", kData + "roads.rte"});
  EXPECT_EQ(RunToMifBatch(ui, out.Path().string()).converted, 4u);
  ASSERT_EQ(ui.shown.size(), 4u);
  for (int i : {0, 1}) EXPECT_EQ(ui.shown[i].text + ui.shown[i].title, kRefused + kProgramTitle);
  EXPECT_EQ(ui.shown[2].file + ui.shown[2].text, (in / "gone.upt") + "没有转换：文件或文件夹不存在");
  EXPECT_EQ(ui.shown[3].title, "消息");
  EXPECT_EQ(ui.sources, (std::vector<std::string>{in / "notes.txt", in / "noise.upt", in / "gone.upt"}));
  EXPECT_EQ(out.Names(), (std::vector<std::string>{"day1.mid", "day1.mif", "day2.mid", "day2.mif", "notes.mif",
                                                  "roads.mid", "roads.mif", "wells.mid", "wells.mif"}));
  EXPECT_EQ(ReadBytes(out / "notes.mif"), "keep");
  ExpectProgressByBytes(ui);
  ASSERT_EQ(ui.reports.size(), 7u);
  EXPECT_EQ(ui.reports[2].source + ui.reports[2].whyNot, (in / "noise.upt") + kRefused);
  EXPECT_EQ(ui.reports[6].outputs, (std::vector<std::string>{out / "roads.mif", out / "roads.mid"}));
}

// A missing output folder gives every file the same reason. (A stop midway
// is the window's test: CancelOrCloseStopsTheRunningBatchCleanly.)
TEST(ToMifBatch, WithoutItsFolder) {
  ScratchFolder out;
  ScriptedUi ui({kData + "wells.upt", kData + "roads.rte"});
  const std::string gone = out / "gone";
  EXPECT_EQ(RunToMifBatch(ui, gone).converted, 0u);
  for (int i : {0, 1}) EXPECT_EQ(ui.shown.at(i).text, "没有转换：输出文件夹 " + gone + " 不存在");
}

// The question and input box of this direction; a typed name that is taken
// is asked for again. (Replacing the pair as one is the output file's own test.)
TEST(ToMifBatch, AnExistingPairIsRenamedOrReplaced) {
  ScratchFolder out;
  const std::string mif = InFolder(out.Path().string(), "wells.mif");
  WriteBytes(mif, "old");
  WriteBytes(out / "wells_2.mif", "old");
  ScriptedUi ui({kData + "wells.upt", kData + "wells.upt"});
  ui.overwriteAnswers = {OverwriteAnswer::Rename, OverwriteAnswer::Overwrite};
  ui.textAnswers = {"wells_2", "mine"};
  RunToMifBatch(ui, out.Path().string());
  EXPECT_EQ(ui.shown[0].text + ui.shown[0].title, mif + "文件已存在，您是否要覆盖？消息");
  EXPECT_EQ(ui.shown[1].text + ui.shown[1].title, "文件重命名为请重新为文件命名！");
  EXPECT_EQ(ui.proposals, (std::vector<std::string>{"wells_2", "wells_2_2"}));
  EXPECT_EQ(ReadBytes(out / "mine.mif"), ReadBytes(mif));
  EXPECT_EQ(ReadBytes(out / "mine.mid").rfind("WELL01\r\n", 0), 0u);
  EXPECT_EQ(ReadBytes(out / "wells_2.mif"), "old");
}

}  // namespace
}  // namespace carteloom::testing
