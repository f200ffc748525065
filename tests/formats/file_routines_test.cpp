#include <gtest/gtest.h>

#include <filesystem>

#include "formats/file_routines.h"
#include "formats/mif_text.h"
#include "formats/output_file.h"
#include "support/test_support.h"

namespace carteloom {
namespace {

TEST(FileText, ReturnsEveryByte) {
  testing::ScratchFolder folder;
  std::string bytes("a\r\nb\0c\xCE\xB4", 8);
  testing::WriteBytes(folder / "x.mif", bytes);
  testing::WriteBytes(folder / "empty.mif", "");
  EXPECT_EQ(FileText(folder / "x.mif"), bytes);
  EXPECT_EQ(FileText(folder / "empty.mif"), "");
}

TEST(PathExists, OnlyRegularFiles) {
  testing::ScratchFolder folder;
  testing::WriteBytes(folder / "day1.mif", "x");
  EXPECT_TRUE(PathExists(folder / "day1.mif"));
  EXPECT_FALSE(PathExists(folder / "day2.mif"));
  EXPECT_FALSE(PathExists(folder.Path().string()));
  EXPECT_FALSE(PathExists(""));
}

TEST(OutputFile, AppearsOnlyWhenCommitted) {
  testing::ScratchFolder folder;
  std::string target = folder / "day1.mif";
  testing::WriteBytes(target, "old contents");
  {
    OutputFile out(target);
    out.WriteLine("new");
    EXPECT_EQ(testing::ReadBytes(target), "old contents");
  }  // dropped without Commit: the old file survives, no temporary is left
  EXPECT_EQ(testing::ReadBytes(target), "old contents");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);

  OutputFile out(target);
  out.WriteLine("new");
  out.Write("tail");
  out.Commit();
  EXPECT_EQ(testing::ReadBytes(target), "new\r\ntail");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST(MifText, MidValuesStayOneColumnAndOneRow) {
  EXPECT_EQ(MidValueText("WELL01"), "WELL01");
  EXPECT_EQ(MidValueText("007"), "007");
  EXPECT_EQ(MidValueText(""), "");
  EXPECT_EQ(MidValueText("\xCE\xB4\xC3\xFC"), "\xCE\xB4\xC3\xFC");
  EXPECT_EQ(MidValueText("Main St, north"), "\"Main St, north\"");
  EXPECT_EQ(MidValueText("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(MidValueText("two\r\nlines"), "two  lines");
}

}  // namespace
}  // namespace carteloom
