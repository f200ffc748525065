// Outputs that appear only when complete, and whole files read back.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <memory>

#include "files/file_routines.h"
#include "files/output_file.h"
#include "files/output_journal.h"
#include "support/test_support.h"
#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace carteloom::testing {

TEST(OutputFile, AppearsOnlyWhenCompleteAndAFailureLeavesTheOldFile) {
  ScratchFolder folder;
  const std::string target = folder / "x.mif", bytes = std::string("b\0c\xCE\xB4", 5) + std::string(3 << 20, 'z');
  auto entries = [&folder] { return folder.Names().size(); };
  WriteBytes(target, "old");
  OutputFile discarded(target), out(target);
  discarded.Discard();
  out.WriteLine(bytes);  // more than the buffer holds
  out.Close();
  EXPECT_TRUE(FileText(target) == "old" && PathExists(target) && !PathExists(folder.Path().string()));
#ifdef __linux__
  EXPECT_EQ(entries(), 2u);  // the target and the journal: an unfinished file has no name
#endif
  WriteBytes(target + ".tmp~0", "another's");  // a file the journal does not name is not touched
  out.Commit();
  EXPECT_TRUE(FileText(target) == bytes + "\r\n" && FileText(target + ".tmp~0") == "another's" && entries() == 2u);
  std::filesystem::remove(target + ".tmp~0");
#ifndef _WIN32
  auto reason = [](auto action) -> std::string {  // what the action failed for
    try { action(); } catch (const FileError& error) { return error.Reason(); }
    return "";
  };
  rlimit saved{};  // a file-size limit makes the write fail
  getrlimit(RLIMIT_FSIZE, &saved);
  const rlimit limited{64 << 10, saved.rlim_max};
  std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &limited);
  EXPECT_EQ(reason([&] { OutputFile(target).WriteLine(bytes); }), "文件超出了允许的大小");
  setrlimit(RLIMIT_FSIZE, &saved);
  std::filesystem::create_directory(folder / "taken");  // nor can a file replace a folder
  EXPECT_EQ(reason([&] { OutputFile(folder / "taken").Commit(); }), "这是一个文件夹，不是文件");
  EXPECT_TRUE(FileText(target) == bytes + "\r\n" && entries() == 2u);
#endif
}

TEST(OutputFile, ManyCommittedTogetherOrNoneOfThem) {
  ScratchFolder folder;
  // More files than are held open unnamed; the last one cannot replace the folder of its name.
  for (bool failing : {true, false}) {
    OutputJournal journal;
    std::vector<std::unique_ptr<OutputFile>> files;
    std::vector<OutputFile*> all;
    for (int i = 0; i < 70; ++i) {
      files.push_back(std::make_unique<OutputFile>(folder / ("p" + std::to_string(100 + i)), journal));
      files.back()->WriteLine(std::to_string(i));
      files.back()->Close();
      all.push_back(files.back().get());
    }
    WriteBytes(folder / "p100", "old");
    if (failing) {
      std::filesystem::create_directory(folder / "p169");
      WriteBytes((folder.Path() / "p169" / "in").string(), "");
      EXPECT_THROW(CommitTogether(all), FileError);
      EXPECT_EQ(folder.Names(), (std::vector<std::string>{"p100", "p169"}));
      EXPECT_EQ(ReadBytes(folder / "p100"), "old");
      std::filesystem::remove_all(folder / "p169");
    } else {
      CommitTogether(all);
      EXPECT_EQ(folder.Names().size(), 70u);
      EXPECT_EQ(ReadBytes(folder / "p100") + ReadBytes(folder / "p169"), "0\r\n69\r\n");
    }
  }
}

}  // namespace carteloom::testing

namespace carteloom::testing {

// A journal left by a run that died at three moments, one of them cut short
// in the middle of a record, as a power cut can leave it.
TEST(OutputJournal, RecoveryRollsBackAHalfDoneCommitAndFinishesADoneOne) {
  const std::string header = "carteloom output journal 1\ntemporaries 9-9\n";
  const std::string places = "place 1 a 11 a.old~9-9~0\nplace 1 b 11 b.old~9-9~1\nplace 1 c 0 \n";
  struct Case {
    std::string journal;
    bool finished;
  };
  for (const Case& c : {Case{header + places + "moves\ndone\n", true}, Case{header + places + "moves\n", false},
                        Case{header + places.substr(0, 30), false}}) {
    ScratchFolder folder;
    // a is moved aside and replaced, b and c are not placed yet; x is another program's.
    for (auto [name, bytes] : {std::pair{"a.old~9-9~0", "old a"}, {"a", "new a"}, {"b", "old b"},
                               {"b.tmp~9-9~2", "new b"}, {"c.tmp~9-9~3", "new c"}, {"x.tmp~9-9~z", "x"}})
      WriteBytes(folder / name, bytes);
    WriteBytes(folder / "carteloom~9-9.journal", c.journal);
    const std::vector<RecoveredCommit> recovered = RecoverOutputFolder(folder.Path().string());
    ASSERT_EQ(recovered.size(), 1u);
    EXPECT_EQ(recovered[0].finished, c.finished);
    const bool begun = c.journal.find("moves") != std::string::npos;
    // Undone: a gets its old file back. Never begun: the half-moved a is not undone, as no
    // run gets that far without its list of moves on the device.
    EXPECT_EQ(ReadBytes(folder / "a"), c.finished || !begun ? "new a" : "old a");
    EXPECT_EQ(ReadBytes(folder / "b"), "old b");
    std::vector<std::string> left{"a", "b", "x.tmp~9-9~z"};
    if (!begun) left.insert(left.begin() + 1, "a.old~9-9~0");
    EXPECT_EQ(folder.Names(), left);
  }
}

}  // namespace carteloom::testing
