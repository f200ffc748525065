// Outputs that appear only when complete, whole files read back, and output
// names settled with the user.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include "formats/file_routines.h"
#include "formats/output_file.h"
#include "formats/output_naming.h"
#include "formats/paths.h"
#include "support/test_support.h"
#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace carteloom::testing {

TEST(OutputFile, AppearsOnlyWhenCompleteAndAFailureLeavesTheOldFile) {
  ScratchFolder folder;
  const std::string target = folder / "x.mif", bytes = std::string("b\0c\xCE\xB4", 5) + std::string(3 << 20, 'z');
  auto entries = [&folder] { return std::distance(std::filesystem::directory_iterator(folder.Path()), {}); };
  WriteBytes(target, "old");
  OutputFile discarded(target), out(target);
  discarded.Discard();
  out.WriteLine(bytes);  // more than the buffer holds
  out.Close();
  EXPECT_TRUE(FileText(target) == "old" && PathExists(target) && !PathExists(folder.Path().string()));
  out.Commit();
  EXPECT_TRUE(FileText(target) == bytes + "\r\n" && entries() == 1);
#ifndef _WIN32
  rlimit saved{};  // a file-size limit makes the write fail
  getrlimit(RLIMIT_FSIZE, &saved);
  const rlimit limited{64 << 10, saved.rlim_max};
  std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &limited);
  EXPECT_THROW(OutputFile(target).WriteLine(bytes), FileError);
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_TRUE(FileText(target) == bytes + "\r\n" && entries() == 1);
#endif
}

TEST(OutputNaming, RenamingKeepsToTheFolderAndToUnclaimedNames) {
  ScratchFolder out;
  const std::string folder = out.Path().string();
  for (const char* name : {"day1.mif", "day1_2.mif", "day2.mid"}) WriteBytes(out / name, "old");
  ScriptedUi ui;
  EXPECT_EQ(ConfirmOutputName(ui, "/gps.v2/day2.upt", folder).path, out / "day2.mif");  // no question
  EXPECT_EQ(TypeSuffix("/gps.v2/day2") + TypeSuffix("/gps/day2.upt") + TypeSuffix("day2"), ".v2/day2.upt");
  ui.overwriteAnswers = {OverwriteAnswer::Rename};
  ui.textAnswers = {"day1_2", "", "../day3", "sub/day3", " day3"};
  EXPECT_EQ(ConfirmOutputName(ui, "/gps/day1.upt", folder).path, out / " day3.mif");
  EXPECT_EQ(ui.proposals, (std::vector<std::string>{"day1_2", "day1_2_2", "_2", "_2", "_2"}));
  // A path the same conversion still writes is not offered for replacing; a blank name ends the batch.
  ui.textAnswers = {"d4", "d5", " \t"};
  EXPECT_EQ(SettleOutputName(ui, folder, "d4", ".upt", kReceiverOverwriteDialog, {out / "d4.upt"}).baseName, "d5");
  EXPECT_EQ(SettleOutputName(ui, folder, "day1", ".mif", kReceiverOverwriteDialog, {out / "day1.mif"}).outcome,
            NamingOutcome::BatchEnded);
}

}  // namespace carteloom::testing
