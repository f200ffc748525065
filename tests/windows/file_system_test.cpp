// The file layer with the paths Windows users give: GBK names (whose second
// byte may be "\"), both separators, doubled separators, and outputs that
// replace an existing file. The same tests run on Linux, where names are
// plain bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "formats/field_reader.h"
#include "formats/file_error.h"
#include "formats/file_routines.h"
#include "formats/native_path.h"
#include "formats/output_file.h"
#include "formats/paths.h"
#include "support/test_support.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace carteloom {
namespace {

// "誠錦测试" in GBK: the first two characters end in the byte "\".
const std::string kGbkName = "\xD5\x5C\xE5\x5C\xB2\xE2\xCA\xD4";

// Paths built as bytes, as the batches build them.
std::string Folder(const testing::ScratchFolder& scratch) { return NarrowPath(scratch.Path()); }

std::vector<std::string> EntriesOf(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(NativePath(folder)))
    names.push_back(NarrowPath(entry.path().filename()));
  return names;
}

bool GbkIsTheCodePage() {
#ifdef _WIN32
  return GetACP() == 936;
#else
  return true;  // names are bytes
#endif
}

void WriteFile(const std::string& path, const std::string& bytes) {
  OutputFile out(path);
  out.Write(bytes);
  out.Commit();
}

TEST(FileSystem, FailedCommitKeepsTheTargetAndRemovesTheTemporaryFile) {
  testing::ScratchFolder scratch;
  std::string target = InFolder(Folder(scratch), "taken");
  std::filesystem::create_directory(NativePath(target));
  OutputFile out(target);
  out.WriteLine("x");
  try {
    out.Commit();
    FAIL() << "a folder was replaced by a file";
  } catch (const FileError& error) {
    EXPECT_EQ(error.Path(), target);
    EXPECT_FALSE(error.Reason().empty());
  }
  EXPECT_TRUE(std::filesystem::is_directory(NativePath(target)));
  EXPECT_EQ(EntriesOf(Folder(scratch)), std::vector<std::string>{"taken"});
}

TEST(FileSystem, AFolderIsNamedAsSuchWhenOpenedAsAFile) {
  testing::ScratchFolder scratch;
  std::string folder = InFolder(Folder(scratch), "wells.mid");
  std::filesystem::create_directory(NativePath(folder));
  try {
    FieldReader reader(folder);
    while (!reader.AtEnd()) reader.ReadField();
    FAIL() << "a folder was read as a file";
  } catch (const FileError& error) {
    EXPECT_EQ(error.Path(), folder);
    EXPECT_EQ(error.Reason(), "这是一个文件夹，不是文件");
  }
}

TEST(FileSystem, GbkNamesReachTheDiskAndComeBackUnchanged) {
  if (!GbkIsTheCodePage()) GTEST_SKIP() << "the system code page is not GBK";
  testing::ScratchFolder scratch;
  std::string folder = InFolder(Folder(scratch), kGbkName);
  std::filesystem::create_directory(NativePath(folder));
  std::string path = InFolder(folder, kGbkName + ".upt");
  const std::string contents = "$PZTJWPL,3954.450,N,11623.483,E,0000000,M," + kGbkName + ",,a*45\r\n";

  WriteFile(path, contents);
  EXPECT_TRUE(PathExists(path));
  EXPECT_FALSE(PathExists(folder));
  EXPECT_EQ(FileText(path), contents);
  EXPECT_EQ(EntriesOf(folder), std::vector<std::string>{kGbkName + ".upt"});
  EXPECT_EQ(NarrowPath(NativePath(path)), path);

  FieldReader reader(path);
  std::string name;
  for (int i = 0; i < 8; ++i) name = std::string(reader.ReadField());
  EXPECT_EQ(name, kGbkName);

  std::string missing = InFolder(folder, kGbkName + ".mif");
  try {
    FileText(missing);
    FAIL() << "a missing file was read";
  } catch (const FileError& error) {
    EXPECT_EQ(error.Path(), missing);
    EXPECT_EQ(error.Reason(), "文件或文件夹不存在");
  }
}

TEST(FileSystem, DoubledSeparatorIsOneSeparator) {
  testing::ScratchFolder scratch;
  std::string folderWithSeparator = Folder(scratch) + kSeparator;
  std::string path = InFolder(folderWithSeparator, "root.mif");
  ASSERT_EQ(path, Folder(scratch) + kSeparator + kSeparator + "root.mif");
  WriteFile(path, "x\r\n");
  WriteFile(path, "y\r\n");
  EXPECT_TRUE(PathExists(InFolder(Folder(scratch), "root.mif")));
  EXPECT_EQ(FileText(InFolder(Folder(scratch), "root.mif")), "y\r\n");
}

TEST(Paths, BaseNameStopsAtTheLastRealSeparator) {
  EXPECT_EQ(BaseName(std::string(1, kSeparator) + "gps" + kSeparator + kGbkName + ".upt"), kGbkName);
#ifdef _WIN32
  if (!GbkIsTheCodePage()) GTEST_SKIP() << "the system code page is not GBK";
  EXPECT_EQ(BaseName("E:\\gps\\day1.upt"), "day1");
  EXPECT_EQ(BaseName("E:/gps/day1.upt"), "day1");
  EXPECT_EQ(BaseName("E:\\gps/sub\\" + kGbkName + ".rte"), kGbkName);
  EXPECT_EQ(BaseName("E:\\" + kGbkName + "\\day1.log"), "day1");
  EXPECT_EQ(BaseName(kGbkName + ".upt"), kGbkName);
  EXPECT_EQ(NameStart("S:\\gis\\" + kGbkName + ".mif"), 7u);
  EXPECT_EQ(InFolder("D:\\", "day1.mif"), "D:\\\\day1.mif");
#endif
}

#ifdef _WIN32
TEST(Paths, TypedNamesWithGbkCharactersAreAccepted) {
  if (!GbkIsTheCodePage()) GTEST_SKIP() << "the system code page is not GBK";
  EXPECT_TRUE(IsValidFileName(kGbkName));
  EXPECT_TRUE(IsValidFileName("\x81\x7C"));   // "亅": second byte "|"
  EXPECT_FALSE(IsValidFileName("\xD5\x5C\\"));  // a real separator after the character
  for (const char* device : {"nul", "CON", "Aux.upt", "com1", "LPT9 ", "prn.a.b"})
    EXPECT_FALSE(IsValidFileName(device)) << device;
  for (const char* name : {"console", "com10", "lpt0", "nul_2", "anul"}) EXPECT_TRUE(IsValidFileName(name)) << name;
}
#endif

}  // namespace
}  // namespace carteloom
