// Output names settled with the user: proposals, refused names, and names
// the same conversion still holds.
#include <gtest/gtest.h>

#include "batch/output_naming.h"
#include "files/paths.h"
#include "support/test_support.h"

namespace carteloom::testing {

TEST(OutputNaming, RenamingKeepsToTheFolder) {
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
}

#ifdef _WIN32
TEST(Paths, AsWindowsTakesThem) {
  // 誠錦 in GBK: both characters end in the byte "\". Devices, and letters in any case.
  const std::string gbk = "\xD5\x5C\xE5\x5C";
  EXPECT_EQ(BaseName("C:\\gps\\" + gbk + ".upt"), gbk);
  EXPECT_EQ(NameStart("C:/gps\\" + gbk), 7u);
  for (const char* device : {"CON", "nul.upt", "Com1", "LPT9 .mif"}) EXPECT_FALSE(IsValidFileName(device)) << device;
  EXPECT_TRUE(IsValidFileName("COM0") && IsValidFileName("CONSOLE"));
  ScratchFolder out;
  ScriptedUi ui;
  ui.textAnswers = {"BIG", "other"};  // big.upt is still to be written
  EXPECT_EQ(SettleOutputName(ui, out.Path().string(), "big", ".upt", kReceiverOverwriteDialog,
                             {ComparablePath(InFolder(out.Path().string(), "big.upt"))})
                .baseName,
            "other");
}
#endif

}  // namespace carteloom::testing
