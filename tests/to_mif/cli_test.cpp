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

  ScratchFolder scratch_;
};

TEST_F(ToMifCommand, ExitStatusTellsWhetherEveryFileWasConverted) {
  std::filesystem::create_directories(Out());
  EXPECT_EQ(ToMif("", kData + "wells.upt " + kData + "day1.log " + kData + "roads.rte"), 0);
  EXPECT_EQ(Stdout(), "共计 3个Trekvane航路点、航迹、航线文件已转换成MapInfo的Mif文件！\n");

  WriteBytes(Out("notes.txt"), "text");
  EXPECT_EQ(ToMif("--on-exist=overwrite", Out("notes.txt") + " " + kData + "wells.upt"), 1);
  EXPECT_EQ(Stderr(), "此文件不是一个有效的Trekvane航路点、航迹或航线文件，请检查！\n");
  EXPECT_EQ(Stdout(), "共计 1个Trekvane航路点、航迹、航线文件已转换成MapInfo的Mif文件！\n");

  for (const char* usage : {"to-mif", "to-mif --on-exist=maybe x.upt", "--bogus"}) EXPECT_EQ(Run(usage), 2) << usage;
  EXPECT_EQ(Run("--help"), 0);
}

TEST_F(ToMifCommand, OnExistAnswersTheOverwriteQuestion) {
  std::filesystem::create_directories(Out());
  WriteBytes(Out("wells.mif"), "old");
  // Without a terminal the default is fail: the file is named and left alone.
  EXPECT_EQ(ToMif("", kData + "wells.upt"), 1);
  EXPECT_NE(Stderr().find(Out("wells.mif")), std::string::npos) << Stderr();
  EXPECT_EQ(ToMif("--on-exist=fail", kData + "wells.upt"), 1);
  EXPECT_EQ(ToMif("--on-exist=ask", kData + "wells.upt", ""), 1);  // no answer
  EXPECT_EQ(ReadBytes(Out("wells.mif")), "old");

  EXPECT_EQ(ToMif("--on-exist=rename", kData + "wells.upt"), 0);
  EXPECT_EQ(ToMif("--on-exist=rename", kData + "wells.upt"), 0);  // wells_2 is taken now
  EXPECT_TRUE(std::filesystem::exists(Out("wells_2_2.mid")));
  EXPECT_EQ(ToMif("--on-exist=ask", kData + "wells.upt", "n\nmine\n"), 0);
  EXPECT_EQ(ReadBytes(Out("wells.mif")), "old");
  const std::string converted = ReadBytes(Out("mine.mif"));
  EXPECT_EQ(ReadBytes(Out("wells_2.mif")), converted);

  EXPECT_EQ(ToMif("--on-exist=ask", kData + "wells.upt", "y\n"), 0);
  EXPECT_EQ(ReadBytes(Out("wells.mif")), converted);
  WriteBytes(Out("wells.mif"), "old");
  EXPECT_EQ(ToMif("--on-exist=overwrite", kData + "wells.upt"), 0);
  EXPECT_EQ(ReadBytes(Out("wells.mif")), converted);
}

}  // namespace
}  // namespace carteloom::testing
