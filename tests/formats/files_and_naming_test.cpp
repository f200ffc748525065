// Reading whole files, outputs that appear only when complete, and output
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
namespace {

namespace fs = std::filesystem;

// What the action failed with: the path and the reason.
template <typename Action>
std::string Failure(Action action) {
  try {
    action();
  } catch (const FileError& error) {
    return error.what();
  }
  return "no failure";
}

long Entries(const ScratchFolder& folder) { return std::distance(fs::directory_iterator(folder.Path()), {}); }

TEST(FileRoutines, WholeFilesAndOutputsThatAppearOnlyWhenComplete) {
  ScratchFolder folder;
  const std::string target = folder / "x.mif", f = folder.Path().string(), nul("b\0c\xCE\xB4", 5);
  const std::string bytes = nul + std::string(3 << 20, 'z');  // more than the output's buffer holds
  WriteBytes(target, "old");
  OutputFile(target).WriteLine("dropped");
  OutputFile discarded(target), out(target);
  discarded.WriteLine("discarded");
  discarded.Discard();
  out.WriteLine(bytes);
  out.Close();
  EXPECT_EQ(FileText(target), "old");
  out.Commit();
  EXPECT_TRUE(FileText(target) == bytes + "\r\n");
  EXPECT_EQ(Entries(folder), 1);
  EXPECT_TRUE(PathExists(target) && PathExists(InFolder(f + kSeparator, "x.mif")));  // a doubled separator is one
  EXPECT_FALSE(PathExists(folder / "no.mif") || PathExists(f) || PathExists(""));
  EXPECT_EQ(Failure([&] { FileText(f); }), f + "：这是一个文件夹，不是文件");
  EXPECT_EQ(Failure([&] { FileText(folder / "no.mif"); }), (folder / "no.mif") + "：文件或文件夹不存在");
  EXPECT_EQ(Failure([&] { OutputFile(folder / "no/x.mif"); }), (folder / "no/x.mif") + "：文件或文件夹不存在");
  // A folder cannot be replaced by a file: the commit fails and leaves no temporary file.
  fs::create_directory(folder / "taken");
  OutputFile onFolder(folder / "taken");
  EXPECT_NE(Failure([&] { onFolder.Commit(); }), "no failure");
  EXPECT_TRUE(fs::is_directory(folder / "taken") && Entries(folder) == 2);
}

#ifndef _WIN32
TEST(FileRoutines, AFailedWriteLeavesTheOldFile) {
  ScratchFolder folder;
  WriteBytes(folder / "x.mif", "old");
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const rlimit limited{64 << 10, saved.rlim_max};
  const auto handler = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &limited);
  const std::string failure = Failure([&] {
    OutputFile out(folder / "x.mif");
    for (int i = 0; i < 100000; ++i) out.WriteLine("116.39139 39.9075");
    out.Commit();
  });
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, handler);
  EXPECT_EQ(failure, (folder / "x.mif") + "：文件超出了允许的大小");
  EXPECT_TRUE(FileText(folder / "x.mif") == "old" && Entries(folder) == 1);
}
#endif

TEST(OutputNaming, TheOverwriteAndRenameDialogues) {
  ScratchFolder out;
  const std::string folder = out.Path().string();
  for (const char* name : {"day1.mif", "day1_2.mif", "day2.mid", "wells.upt"}) WriteBytes(out / name, "old");
  ScriptedUi ui;
  EXPECT_EQ(ConfirmOutputName(ui, "/gps.v2/day2.upt", folder).path, out / "day2.mif");  // no question
  ui.overwriteAnswers = {OverwriteAnswer::Overwrite, OverwriteAnswer::Rename};
  EXPECT_EQ(ConfirmOutputName(ui, "/gps/day1.upt", folder).path, out / "day1.mif");
  // Once renaming, only a new name under which nothing exists goes on; one that would leave the folder is refused.
  ui.textAnswers = {"day1_2", "", "../day3", "sub/day3", " day3"};
  EXPECT_EQ(ConfirmOutputName(ui, "/gps/day1.upt", folder).path, out / " day3.mif");
  EXPECT_EQ(ui.proposals, (std::vector<std::string>{"day1_2", "day1_2_2", "_2", "_2", "_2"}));
  // A path the same conversion still writes is not offered for replacing.
  ui.textAnswers = {"day4", "day5"};
  EXPECT_EQ(SettleOutputName(ui, folder, "day4", ".upt", kReceiverOverwriteDialog, {out / "day4.upt"}).baseName, "day5");
  // The receiver dialogue: skipping, or a blank name that ends the batch.
  ui.overwriteAnswers = {OverwriteAnswer::Skip, OverwriteAnswer::Rename, OverwriteAnswer::Rename};
  ui.textAnswers = {std::nullopt, " \t"};
  for (NamingOutcome outcome : {NamingOutcome::Skipped, NamingOutcome::Skipped, NamingOutcome::BatchEnded})
    EXPECT_EQ(SettleOutputName(ui, folder, "wells", ".upt", kReceiverOverwriteDialog).outcome, outcome);
  std::set<std::string> boxes;
  for (const ShownBox& box : ui.shown) boxes.insert(box.kind + " " + box.title + " " + box.text);
  EXPECT_EQ(boxes, (std::set<std::string>{"question 消息 " + (out / "day1.mif") + "文件已存在，您是否要覆盖？",
                                          "input 请重新为文件命名！ 文件重命名为", "input 请输入一个新的文件名！ 文件重命名为",
                                          "question Message " + (out / "wells.upt") + " 已存在，是否覆盖？"}));
  EXPECT_EQ(ui.shown.size(), 14u);
}

}  // namespace
}  // namespace carteloom::testing
