// The command line as a person or a script meets it: the real binary, its
// streams, its exit status, and what it leaves in the folder.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "support/test_support.h"

#ifndef _WIN32
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

namespace carteloom::testing {
namespace {
namespace fs = std::filesystem;

const std::string kData = CARTELOOM_TEST_DATA "/";
const std::string kNotReceiverFile = "此文件不是一个有效的Trekvane航路点、航迹或航线文件，请检查！";

// Runs the command line in folder, under the locale given, with input on stdin.
Ran Cli(const ScratchFolder& folder, const std::string& arguments, const std::string& locale = "C.UTF-8",
        const std::string& input = "") {
  return Run("cd '" + folder.Path().string() + "' && LC_ALL=" + locale + " '" CARTELOOM_CLI "' " + arguments, input);
}

TEST(CliMessages, NameTheirFileAndWhatWasNotConverted) {
  SKIP_WITHOUT_POSIX_SHELL();
  ScratchFolder dir;
  WriteBytes(dir / "a.txt", "x");
  WriteBytes(dir / "b.upt", "no records");
  WriteBytes(dir / "\xb2\xe2.upt", "no records");  // 测.upt in GBK
  Ran run = Cli(dir, "to-mif a.txt b.upt '\xb2\xe2.upt'");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "a.txt: " + kNotReceiverFile + "\nb.upt: " + kNotReceiverFile + "\n测.upt: " + kNotReceiverFile + "\n");
  EXPECT_EQ(Cli(dir, "to-mif '\xb2\xe2.upt'", "C").err, "\xb2\xe2.upt: " + kNotReceiverFile + "\n");
  // Within a text (the overwrite question), and on stdout too.
  fs::copy_file(kData + "to_mif/wells.upt", dir / "\xca\xd4.upt");  // 试.upt
  Cli(dir, "to-mif '\xca\xd4.upt'");
  run = Cli(dir, "to-mif -v '\xca\xd4.upt'");
  EXPECT_NE(run.err.find("/试.mif文件已存在"), std::string::npos) << run.err;
  EXPECT_EQ(run.out.rfind("试.upt: ", 0), 0u) << run.out;

  // A layer in another coordinate system ends the batch: it and the files after it are named.
  for (const char* name : {"good", "other", "later"}) {
    fs::copy_file(kData + "windows/lines.mid", dir / (name + std::string(".mid")));
    std::string mif = ReadBytes(kData + "windows/lines.mif");
    if (name == std::string("other")) mif.replace(mif.find("Projection 1, 104"), 17, "Projection 1, 0");
    WriteBytes(dir / (name + std::string(".mif")), mif);
  }
  run = Cli(dir, "to-receiver good.mif other.mif later.mif");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "other.mif: 该Mif文件不是WGS84坐标系,请在MapInfo中转换成WGS84坐标系后再转入!\n"
                     "批处理已提前结束，以下文件没有转换：\n  other.mif\n  later.mif\n");
  EXPECT_TRUE(fs::exists(dir / "good.rte"));
}

TEST(CliOutput, RenameNoticesQuietAndVerbose) {
  SKIP_WITHOUT_POSIX_SHELL();
  ScratchFolder dir;
  fs::copy_file(kData + "windows/points.mif", dir / "p.mif");
  fs::copy_file(kData + "windows/points.mid", dir / "p.mid");
  WriteBytes(dir / "p2.upt", "old");
  // 1200 points: p.upt, then p2.upt taken, so the second part takes another name.
  Ran run = Cli(dir, "to-receiver --on-exist=rename -v -o . p.mif");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "./p2.upt 已存在，输出改名为 ./p2_2.upt\n");
  EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "p.mif -> ./p.upt, ./p2_2.upt, ./p3.upt");
  EXPECT_EQ(ReadBytes(dir / "p2.upt"), "old");

  run = Cli(dir, "to-receiver -q --on-exist=rename p.mif");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out + run.err, "");  // neither summary nor notices
  run = Cli(dir, "to-receiver -q -o . p.mif");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("./p.upt"), std::string::npos) << run.err;  // what went wrong is still said
  // Each command's help says what it writes and what its exit statuses mean.
  const std::string help = Cli(dir, "to-receiver --help").out;
  EXPECT_TRUE(help.find("B2.upt") != std::string::npos && help.find("130") != std::string::npos) << help;
}

TEST(CliOutput, ExitStatusAndOnExist) {
  SKIP_WITHOUT_POSIX_SHELL();
  ScratchFolder dir;
  const std::string wells = " " + kData + "to_mif/wells.upt", utf8 = "C.UTF-8";
  Ran run = Cli(dir, "to-mif" + wells + " " + kData + "to_mif/day1.log");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "共计 2个Trekvane航路点、航迹、航线文件已转换成MapInfo的Mif文件！\n");
  const std::string converted = ReadBytes(dir / "wells.mif");
  WriteBytes(dir / "wells.mif", "old");
  // Without a terminal an existing output is left alone and named.
  run = Cli(dir, "to-mif" + wells);
  EXPECT_TRUE(run.status == 1 && run.err.find("wells.mif") != std::string::npos) << run.err;
  // The end of input at either prompt answers nothing: the file is reported, as without a terminal.
  for (const char* input : {"", "n\n"}) {
    run = Cli(dir, "to-mif --on-exist=ask" + wells, utf8, input);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("\n" + wells.substr(1) + ": 没有转换：输出文件 "), std::string::npos) << run.err;
    EXPECT_TRUE(run.err.ends_with("/wells.mif 已存在\n")) << run.err;
  }
  EXPECT_EQ(Cli(dir, "to-mif --on-exist=ask" + wells, utf8, "n\n\n").status, 0);  // the proposal, wells_2
  EXPECT_EQ(Cli(dir, "to-mif --on-exist=rename" + wells).status, 0);            // wells_2_2
  EXPECT_EQ(ReadBytes(dir / "wells_2_2.mif"), converted);
  EXPECT_EQ(Cli(dir, "to-mif --on-exist=ask" + wells, utf8, "y\n").status, 0);
  EXPECT_EQ(ReadBytes(dir / "wells.mif"), converted);
  EXPECT_EQ(Cli(dir, "to-mif --on-exist=overwrite --mif-charset=WindowsSimpChinese" + wells).status, 0);
  EXPECT_NE(ReadBytes(dir / "wells.mif").find("Charset \"WindowsSimpChinese\"\r\n"), std::string::npos);
  for (const char* usage : {"to-mif", "to-mif --on-exist=maybe x.upt", "to-mif --mif-charset=Latin x.upt", "--bogus",
                            "to-receiver -q -v p.mif", "to-receiver -q --progress p.mif"})
    EXPECT_EQ(Cli(dir, usage).status, 2) << usage;
  // Progress only when asked for (or on a terminal, which a pipe is not).
  EXPECT_EQ(Cli(dir, "to-mif --on-exist=overwrite --progress" + wells).err,
            "0...10...20...30...40...50...60...70...80...90...100 - done.\n");
  EXPECT_EQ(Cli(dir, "to-mif --on-exist=overwrite" + wells).err, "");
}

#ifndef _WIN32
// Starts the command line with stdin from a pipe that stays open and its
// output into logs; the caller waits for it.
pid_t Start(std::vector<std::string> arguments, const ScratchFolder& logs, int input) {
  arguments.insert(arguments.begin(), CARTELOOM_CLI);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, (logs / "out").c_str(), O_WRONLY | O_CREAT, 0644);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (logs / "err").c_str(), O_WRONLY | O_CREAT, 0644);
  pid_t pid = -1;
  posix_spawn(&pid, CARTELOOM_CLI, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// The process's wait status; after five seconds it is killed, and -1 says it did not end.
int WaitFor(pid_t pid) {
  int status = 0;
  for (int tries = 0; tries < 500; ++tries) {
    if (waitpid(pid, &status, WNOHANG) == pid) return status;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  return -1;
}

class CliStop : public ::testing::TestWithParam<int> {};

TEST_P(CliStop, LeavesNoTemporaryFileAndTheOldOutputs) {
  ScratchFolder dir, logs;
  // Ten names of one 40 MB waypoint file: seconds of work on little disk.
  std::string line = "$PZTJWPL,3959.1234,N,11630.5000,E,0000000,M,WELL01,,a*45\r\n", waypoints;
  for (int i = 0; i < 700000; ++i) waypoints += line;
  WriteBytes(dir / "w0.upt", waypoints);
  std::vector<std::string> arguments{"to-mif", "--on-exist=overwrite", "-o", dir.Path().string()};
  for (char n = '0'; n <= '9'; ++n) {
    const std::string stem = dir / std::string(1, 'w').append(1, n);
    if (n != '0') fs::create_hard_link(dir / "w0.upt", stem + ".upt");
    WriteBytes(stem + ".mif", "old");
    WriteBytes(stem + ".mid", "old");
    arguments.push_back(stem + ".upt");
  }
  int input[2];
  ASSERT_EQ(pipe(input), 0);
  const pid_t pid = Start(arguments, logs, input[0]);
  // Some MB read: its handlers are in place and it is converting (a plain wait where there is no /proc).
  for (int tries = 0; tries < 500; ++tries) {
    const std::string io = ReadBytes("/proc/" + std::to_string(pid) + "/io");
    const std::size_t read = io.find("rchar: ");
    if (read == std::string::npos) std::this_thread::sleep_for(std::chrono::milliseconds(300));
    if (read == std::string::npos || std::stoull(io.substr(read + 7)) > 8000000) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_EQ(waitpid(pid, nullptr, WNOHANG), 0) << "done before the signal: the input must be larger";
  kill(pid, GetParam());
  const int status = WaitFor(pid);
  close(input[0]);
  close(input[1]);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 130) << status << ReadBytes(logs / "err");
  EXPECT_EQ(ReadBytes(logs / "out"), "");  // no summary
  // Only the inputs and the outputs: converted ones, or the old ones untouched.
  EXPECT_EQ(dir.Names().size(), 30u);
  EXPECT_EQ(ReadBytes(dir / "w9.mif") + ReadBytes(dir / "w9.mid"), "oldold");
}

// (Killed outright, it leaves a journal that the next run rolls back: the kill-anywhere test.)
INSTANTIATE_TEST_SUITE_P(Signals, CliStop, ::testing::Values(SIGINT, SIGTERM));

TEST(CliStopAtPrompt, EndsTheWaitAndKeepsTheOldOutput) {
  ScratchFolder dir, logs;
  fs::copy_file(kData + "to_mif/wells.upt", dir / "wells.upt");
  WriteBytes(dir / "wells.mif", "old");
  int input[2];
  ASSERT_EQ(pipe(input), 0);
  const pid_t pid = Start({"to-mif", "--on-exist=ask", "-o", dir.Path().string(), dir / "wells.upt"}, logs, input[0]);
  for (int tries = 0; tries < 500 && ReadBytes(logs / "err").find("[y=") == std::string::npos; ++tries)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  kill(pid, SIGINT);
  const int status = WaitFor(pid);
  close(input[0]);
  close(input[1]);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 130) << status;
  EXPECT_EQ(ReadBytes(dir / "wells.mif"), "old");
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"wells.mif", "wells.upt"}));
}
#endif

}  // namespace
}  // namespace carteloom::testing
