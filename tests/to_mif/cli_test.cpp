// carteloom-cli to-mif: exit status and the answers of --on-exist.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_support.h"

namespace carteloom::testing {
namespace {

const std::string kData = std::string(CARTELOOM_TEST_DATA) + "/to_mif/";

class ToMifCommand : public ::testing::Test {
 protected:
  void SetUp() override { SKIP_WITHOUT_POSIX_SHELL(); }
  // Runs carteloom-cli with the arguments, stdin from `input`, into the scratch folder's out/.
  int Run(const std::string& arguments, const std::string& input = "") {
    WriteBytes(scratch_ / "stdin", input);
    return RunCommand(std::string("'") + CARTELOOM_CLI + "' " + arguments + " <'" + (scratch_ / "stdin") + "' >'" +
                      (scratch_ / "stdout") + "' 2>'" + (scratch_ / "stderr") + "'");
  }
  int ToMif(const std::string& options, const std::string& files, const std::string& input = "") {
    return Run("to-mif -o '" + (scratch_ / "out") + "' " + options + " " + files, input);
  }
  std::string Out(const std::string& name = "") { return scratch_ / ("out/" + name); }
  std::string Stdout() { return ReadBytes(scratch_ / "stdout"); }
  std::string Stderr() { return ReadBytes(scratch_ / "stderr"); }
  void ExistingWells() {
    std::filesystem::create_directories(Out());
    WriteBytes(Out("wells.mif"), "old");
  }

  ScratchFolder scratch_;
};

TEST_F(ToMifCommand, ExitStatusTellsWhetherEveryFileWasConverted) {
  std::filesystem::create_directories(Out());
  EXPECT_EQ(ToMif("", kData + "wells.upt " + kData + "day1.log " + kData + "roads.rte"), 0);
  EXPECT_EQ(Stdout(), "共计 3个Trekvane航路点、航迹、航线文件已转换成MapInfo的Mif文件！\n");
  EXPECT_EQ(ReadBytes(Out("roads.mid")), CrLf({"ROAD1", "\xBA\xD3\xB5\xCC\xC2\xB7"}));

  WriteBytes(Out("notes.txt"), "text");
  EXPECT_EQ(ToMif("--on-exist=overwrite", Out("notes.txt") + " " + kData + "wells.upt"), 1);
  EXPECT_EQ(Stderr(), "此文件不是一个有效的Trekvane航路点、航迹或航线文件，请检查！\n");
  EXPECT_EQ(Stdout(), "共计 1个Trekvane航路点、航迹、航线文件已转换成MapInfo的Mif文件！\n");

  EXPECT_EQ(Run("to-mif"), 2);
  EXPECT_EQ(Run("to-mif --on-exist=maybe " + kData + "wells.upt"), 2);
  EXPECT_EQ(Run("--bogus"), 2);
  EXPECT_EQ(Run("--help"), 0);
}

TEST_F(ToMifCommand, WithoutATerminalAnExistingOutputFails) {
  ExistingWells();
  EXPECT_EQ(ToMif("", kData + "wells.upt"), 1);
  EXPECT_NE(Stderr().find(Out("wells.mif")), std::string::npos) << Stderr();
  EXPECT_EQ(ReadBytes(Out("wells.mif")), "old");
  EXPECT_EQ(ToMif("--on-exist=fail", kData + "wells.upt"), 1);
  EXPECT_EQ(ReadBytes(Out("wells.mif")), "old");
}

TEST_F(ToMifCommand, OverwriteAndRenameAnswerTheQuestion) {
  ExistingWells();
  EXPECT_EQ(ToMif("--on-exist=rename", kData + "wells.upt"), 0);
  EXPECT_EQ(ToMif("--on-exist=rename", kData + "wells.upt"), 0);  // wells_2 is taken now
  EXPECT_EQ(ReadBytes(Out("wells.mif")), "old");
  EXPECT_TRUE(std::filesystem::exists(Out("wells_2.mid")));
  EXPECT_TRUE(std::filesystem::exists(Out("wells_2_2.mid")));

  EXPECT_EQ(ToMif("--on-exist=overwrite", kData + "wells.upt"), 0);
  EXPECT_EQ(ReadBytes(Out("wells.mif")), ReadBytes(Out("wells_2.mif")));
}

TEST_F(ToMifCommand, AskReadsTheAnswersFromStdin) {
  ExistingWells();
  EXPECT_EQ(ToMif("--on-exist=ask", kData + "wells.upt", "n\nmine\n"), 0);
  EXPECT_TRUE(std::filesystem::exists(Out("mine.mif")));
  EXPECT_EQ(ReadBytes(Out("wells.mif")), "old");
  EXPECT_EQ(ToMif("--on-exist=ask", kData + "wells.upt", "y\n"), 0);
  EXPECT_EQ(ReadBytes(Out("wells.mif")), ReadBytes(Out("mine.mif")));
  EXPECT_EQ(ToMif("--on-exist=ask", kData + "wells.upt", ""), 1);  // no answer: the file is left alone
}

}  // namespace
}  // namespace carteloom::testing
