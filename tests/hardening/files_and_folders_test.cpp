// Sources and outputs that are not what the batch expects: a vanished source,
// a folder in place of a file, a MIF without its MID, a missing output folder,
// an output that cannot be written completely. Each is reported naming the file
// and the reason, and nothing is lost or half-written.
#include <gtest/gtest.h>

#include <filesystem>

#include "formats/paths.h"
#include "hardening/output_checks.h"
#include "to_mif/to_mif_batch.h"
#include "to_receiver/to_receiver_batch.h"

namespace carteloom::testing {
namespace {

namespace fs = std::filesystem;

const std::string kWaypoints = CrLf({"$PZTJWPL,3954.450,N,11623.483,E,0000000,M,WELL01,,a*45"});
const std::string kPointLayer =
    CrLf({"Version 300", "Charset \"Neutral\"", "Delimiter \",\"", "CoordSys Earth Projection 1, 104", "Columns 1",
          "  Name Char(20)", "Data", "Point 116.39139 39.9075", "    Symbol (32,0,9)"});

class BadPlaces : public ::testing::Test {
 protected:
  std::string In(const std::string& name) { return scratch_ / ("in/" + name); }
  std::string Out() { return scratch_ / "out"; }
  std::string Out(const std::string& name) { return scratch_ / ("out/" + name); }
  void SetUp() override {
    fs::create_directories(scratch_ / "in");
    fs::create_directories(Out());
  }
  ScratchFolder scratch_;
};

TEST_F(BadPlaces, AVanishedSourceOrAFolderIsReportedAndTheBatchGoesOn) {
  fs::create_directories(In("folder.upt"));
  WriteBytes(In("good.upt"), kWaypoints);
  ScriptedUi ui({In("vanished.upt"), In("folder.upt"), In("good.upt")});
  BatchResult result = RunToMifBatch(ui, Out());
  EXPECT_EQ(result.converted, 1u);
  ASSERT_EQ(Messages(ui).size(), 2u);
  EXPECT_EQ(Messages(ui)[0], "文件 " + In("vanished.upt") + " 没有转换：文件或文件夹不存在");
  EXPECT_EQ(Messages(ui)[1], "文件 " + In("folder.upt") + " 没有转换：这是一个文件夹，不是文件");
  EXPECT_EQ(ui.sources, (std::vector<std::string>{In("vanished.upt"), In("folder.upt")}));
  EXPECT_EQ(FolderEntries(Out()), (std::vector<std::string>{"good.mid", "good.mif"}));

  // The other direction stops at the entry and keeps it and those after it.
  fs::create_directories(In("layer.mif"));
  ScriptedUi back({In("gone.mif"), In("layer.mif")});
  RunToReceiverBatch(back, Out());
  ASSERT_EQ(Messages(back).size(), 1u);
  EXPECT_NE(Messages(back)[0].find(In("gone.mif")), std::string::npos);
  EXPECT_NE(Messages(back)[0].find("文件或文件夹不存在"), std::string::npos);
  EXPECT_EQ(back.sources.size(), 2u);
  ScriptedUi folder({In("layer.mif")});
  RunToReceiverBatch(folder, Out());
  ASSERT_EQ(Messages(folder).size(), 1u);
  EXPECT_NE(Messages(folder)[0].find("这是一个文件夹，不是文件"), std::string::npos);
  EXPECT_EQ(FolderEntries(Out()), (std::vector<std::string>{"good.mid", "good.mif"}));
}

TEST_F(BadPlaces, AMifWithoutItsMidIsReportedNamingTheMid) {
  WriteBytes(In("wells.mif"), kPointLayer);
  WriteBytes(Out("wells.upt"), "old");
  ScriptedUi ui({In("wells.mif")});
  ui.overwriteAnswers.push_back(OverwriteAnswer::Overwrite);
  BatchResult result = RunToReceiverBatch(ui, Out());
  EXPECT_EQ(result.converted, 0u);
  ASSERT_EQ(Messages(ui).size(), 1u);
  EXPECT_NE(Messages(ui)[0].find(In("wells.mid")), std::string::npos) << Messages(ui)[0];
  EXPECT_NE(Messages(ui)[0].find("文件或文件夹不存在"), std::string::npos);
  EXPECT_EQ(ui.sources.size(), 1u);
  EXPECT_EQ(ReadBytes(Out("wells.upt")), "old");
  EXPECT_EQ(FolderEntries(Out()), std::vector<std::string>{"wells.upt"});

  // A folder in place of the MID opens on some systems and fails on the first read.
  fs::create_directories(In("wells.mid"));
  ScriptedUi again({In("wells.mif")});
  again.overwriteAnswers.push_back(OverwriteAnswer::Overwrite);
  EXPECT_EQ(RunToReceiverBatch(again, Out()).converted, 0u);
  ASSERT_EQ(Messages(again).size(), 1u);
  EXPECT_NE(Messages(again)[0].find(In("wells.mid") + "：这是一个文件夹，不是文件"), std::string::npos) << Messages(again)[0];
  EXPECT_EQ(ReadBytes(Out("wells.upt")), "old");
  EXPECT_EQ(FolderEntries(Out()), std::vector<std::string>{"wells.upt"});
}

TEST_F(BadPlaces, AMissingOutputFolderIsReportedAndNothingIsCreated) {
  WriteBytes(In("wells.upt"), kWaypoints);
  WriteBytes(In("wells.mif"), kPointLayer);
  WriteBytes(In("wells.mid"), "WELL01\r\n");
  const std::string missing = scratch_ / "missing";

  ScriptedUi ui({In("wells.upt")});
  EXPECT_EQ(RunToMifBatch(ui, missing).converted, 0u);
  ASSERT_EQ(Messages(ui).size(), 1u);
  EXPECT_EQ(Messages(ui)[0],
            "文件 " + In("wells.upt") + " 没有转换：" + missing + kSeparator + "wells.mif：文件或文件夹不存在");

  ScriptedUi back({In("wells.mif")});
  EXPECT_EQ(RunToReceiverBatch(back, missing).converted, 0u);
  ASSERT_EQ(Messages(back).size(), 1u);
  EXPECT_NE(Messages(back)[0].find(missing + kSeparator + "wells.upt"), std::string::npos) << Messages(back)[0];
  EXPECT_FALSE(fs::exists(missing));
}

TEST_F(BadPlaces, AFolderWhereAnOutputShouldGoLeavesNoHalfPair) {
  WriteBytes(In("wells.upt"), kWaypoints);
  fs::create_directories(Out("wells.mif"));
  ScriptedUi ui({In("wells.upt")});
  EXPECT_EQ(RunToMifBatch(ui, Out()).converted, 0u);
  ASSERT_EQ(Messages(ui).size(), 1u);
  EXPECT_NE(Messages(ui)[0].find("这是一个文件夹，不是文件"), std::string::npos) << Messages(ui)[0];
  // No MID without its MIF, no temporary file.
  EXPECT_EQ(FolderEntries(Out()), std::vector<std::string>{"wells.mif"});
  EXPECT_TRUE(fs::is_directory(Out("wells.mif")));
}

#ifndef _WIN32
// Runs carteloom-cli under a file-size limit of `blocks` 512-byte blocks; the
// command line ignores SIGXFSZ, so the write fails with EFBIG instead.
int RunLimited(const ScratchFolder& scratch, int blocks, const std::string& arguments) {
  return RunCommand("ulimit -f " + std::to_string(blocks) + " && '" + CARTELOOM_CLI + "' " + arguments +
                    " --on-exist=overwrite >'" + (scratch / "stdout") + "' 2>'" + (scratch / "stderr") + "'");
}

TEST_F(BadPlaces, AnOutputThatCannotBeWrittenCompletelyLeavesTheOldFilesIntact) {
  SKIP_WITHOUT_POSIX_SHELL();
  // A track log whose MIF comes to about 400 KB, written out only when the
  // pair is completed; the limit lets 64 KB through.
  std::string log;
  for (int i = 0; i < 12000; ++i) log += "$GPRMC,3954.450,N,11623.483,E,1,2,3,4,5,6\r\n";
  log += "$PZTJCMD,END*3D\r\n";
  WriteBytes(In("day.log"), log);
  WriteBytes(Out("day.mif"), "old mif");
  WriteBytes(Out("day.mid"), "old mid");
  EXPECT_EQ(RunLimited(scratch_, 128, "to-mif -o '" + Out() + "' '" + In("day.log") + "'"), 1);
  EXPECT_NE(ReadBytes(scratch_ / "stderr").find("文件超出了允许的大小"), std::string::npos)
      << ReadBytes(scratch_ / "stderr");
  EXPECT_NE(ReadBytes(scratch_ / "stderr").find(Out("day.mif")), std::string::npos);
  EXPECT_EQ(ReadBytes(Out("day.mif")), "old mif");
  EXPECT_EQ(ReadBytes(Out("day.mid")), "old mid");
  EXPECT_EQ(FolderEntries(Out()), (std::vector<std::string>{"day.mid", "day.mif"}));

  // The other direction: a route layer too long for the limit.
  std::string layer = kPointLayer.substr(0, kPointLayer.find("Point")) + "Pline 30000\r\n";
  for (int i = 0; i < 30000; ++i) layer += "116.39139 39.9075\r\n";
  WriteBytes(In("road.mif"), layer);
  WriteBytes(In("road.mid"), "ROAD\r\n");
  WriteBytes(Out("road.rte"), "old route");
  EXPECT_EQ(RunLimited(scratch_, 128, "to-receiver -o '" + Out() + "' '" + In("road.mif") + "'"), 1);
  EXPECT_NE(ReadBytes(scratch_ / "stderr").find("文件超出了允许的大小"), std::string::npos)
      << ReadBytes(scratch_ / "stderr");
  EXPECT_EQ(ReadBytes(Out("road.rte")), "old route");
  EXPECT_EQ(FolderEntries(Out()), (std::vector<std::string>{"day.mid", "day.mif", "road.rte"}));
}
#endif

}  // namespace
}  // namespace carteloom::testing
