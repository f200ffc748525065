// The receiver-to-MIF batch and its command line: what is converted, refused
// and reported, and that a file already in place is replaced whole or not at all.
#include <gtest/gtest.h>

#include <filesystem>

#include "files/paths.h"
#include "files/stop_request.h"
#include "support/test_support.h"
#include "to_mif/to_mif_batch.h"

namespace carteloom::testing {
namespace {

namespace fs = std::filesystem;
const std::string kData = std::string(CARTELOOM_TEST_DATA) + "/to_mif/";
const std::string kRefused = "此文件不是一个有效的Trekvane航路点、航迹或航线文件，请检查！";
std::string Summary(int count) {
  return "共计 " + std::to_string(count) + "个Trekvane航路点、航迹、航线文件已转换成MapInfo的Mif文件！";
}

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
  EXPECT_EQ(ui.shown[3].text + ui.shown[3].title, Summary(4) + "消息");
  EXPECT_EQ(ui.sources, (std::vector<std::string>{in / "notes.txt", in / "noise.upt", in / "gone.upt"}));
  EXPECT_EQ(out.Names(), (std::vector<std::string>{"day1.mid", "day1.mif", "day2.mid", "day2.mif", "notes.mif",
                                                  "roads.mid", "roads.mif", "wells.mid", "wells.mif"}));
  EXPECT_EQ(ReadBytes(out / "notes.mif"), "keep");
  ExpectProgressByBytes(ui);
  ASSERT_EQ(ui.reports.size(), 7u);
  EXPECT_EQ(ui.reports[2].source + ui.reports[2].whyNot, (in / "noise.upt") + kRefused);
  EXPECT_EQ(ui.reports[6].outputs, (std::vector<std::string>{out / "roads.mif", out / "roads.mid"}));
}

// A stop midway leaves the old pair and no temporary file; a missing output
// folder gives every file the same reason.
TEST(ToMifBatch, StoppedOrWithoutItsFolder) {
  struct StoppingUi : ScriptedUi {
    using ScriptedUi::ScriptedUi;
    void ShowProgress(std::uint64_t done, std::uint64_t total) override {
      ScriptedUi::ShowProgress(done, total);
      if (done > 0) RequestStop();
    }
  };
  ScratchFolder in, out;
  std::string records;
  for (int i = 0; i < 60000; ++i) records += "$PZTJWPL,3954.450,N,11623.483,E,0000000,M,WELL01,,a*45\r\n";
  WriteBytes(in / "big.upt", records);
  WriteBytes(out / "big.mif", "old");
  WriteBytes(out / "big.mid", "old");
  StoppingUi stopping({in / "big.upt", kData + "wells.upt"});
  stopping.overwriteAnswers = {OverwriteAnswer::Overwrite};
  const BatchResult stopped = RunToMifBatch(stopping, out.Path().string());
  ClearStopRequest();
  EXPECT_TRUE(stopped.stopped && stopped.converted == 0 && stopping.shown.size() == 1);  // the question only
  EXPECT_EQ(out.Names(), (std::vector<std::string>{"big.mid", "big.mif"}));
  EXPECT_EQ(ReadBytes(out / "big.mif") + ReadBytes(out / "big.mid"), "oldold");

  ScriptedUi ui({kData + "wells.upt", kData + "roads.rte"});
  const std::string gone = out / "gone";
  EXPECT_EQ(RunToMifBatch(ui, gone).converted, 0u);
  for (int i : {0, 1}) EXPECT_EQ(ui.shown.at(i).text, "没有转换：输出文件夹 " + gone + " 不存在");
  EXPECT_EQ(ui.shown[1].file, kData + "roads.rte");
}

TEST(ToMifBatch, AnExistingPairIsReplacedWholeOrKept) {
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

  // A MID that cannot replace the folder of its name: the MIF stays as it was too.
  WriteBytes(mif, "old");
  fs::remove(out / "wells.mid");
  fs::create_directory(out / "wells.mid");
  ScriptedUi failing({kData + "wells.upt"});
  failing.overwriteAnswers = {OverwriteAnswer::Overwrite};
  EXPECT_EQ(RunToMifBatch(failing, out.Path().string()).converted, 0u);
  EXPECT_NE(failing.shown.at(1).text.find(out / "wells.mid"), std::string::npos) << failing.shown[1].text;
  EXPECT_EQ(ReadBytes(mif), "old");
  EXPECT_EQ(out.Names(), (std::vector<std::string>{"mine.mid", "mine.mif", "wells.mid", "wells.mif", "wells_2.mif"}));
}

}  // namespace
}  // namespace carteloom::testing
