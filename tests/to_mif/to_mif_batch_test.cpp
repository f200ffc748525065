#include "to_mif/to_mif_batch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "formats/paths.h"
#include "support/test_support.h"

namespace carteloom::testing {
namespace {

namespace fs = std::filesystem;
using Names = std::set<std::string>;

const std::string kNotReceiverFile = "此文件不是一个有效的Trekvane航路点、航迹或航线文件，请检查！";

std::string Summary(int count) {
  return "共计 " + std::to_string(count) + "个Trekvane航路点、航迹、航线文件已转换成MapInfo的Mif文件！";
}

// A source folder holding the sample files and an empty output folder.
class ToMifBatch : public ::testing::Test {
 protected:
  ToMifBatch() {
    fs::create_directories(scratch_.Path() / "in");
    fs::create_directories(scratch_.Path() / "out");
    for (const char* name : {"wells.upt", "day1.log", "roads.rte"})
      fs::copy_file(fs::path(CARTELOOM_TEST_DATA) / "to_mif" / name, scratch_.Path() / "in" / name);
  }
  std::string In(const std::string& name) const { return scratch_ / ("in/" + name); }
  // As the batch names its outputs: the folder, the system's separator, the name.
  std::string Out(const std::string& name = "") const { return InFolder(OutFolder(), name); }
  std::string OutFolder() const { return (scratch_.Path() / "out").string(); }
  // Every name in the output folder: catches half-written and temporary files.
  Names OutNames() const {
    Names names;
    for (const auto& entry : fs::directory_iterator(scratch_.Path() / "out")) names.insert(entry.path().filename().string());
    return names;
  }
  ShownBox Last(const ScriptedUi& ui) const { return ui.shown.empty() ? ShownBox{} : ui.shown.back(); }

  ScratchFolder scratch_;
};

TEST_F(ToMifBatch, ConvertsEveryFileInListOrder) {
  ScriptedUi ui({In("wells.upt"), In("day1.log"), In("roads.rte")});
  BatchResult result = RunToMifBatch(ui, OutFolder());

  EXPECT_EQ(result.converted, 3u);
  EXPECT_TRUE(ui.sources.empty());
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(ui.shown[0].kind, "summary");
  EXPECT_EQ(ui.shown[0].text, Summary(3));
  EXPECT_EQ(ui.shown[0].title, "消息");
  EXPECT_EQ(OutNames(), (Names{"wells.mif", "wells.mid", "day1.mif", "day1.mid", "roads.mif", "roads.mid"}));
  EXPECT_EQ(ReadBytes(Out("wells.mid")), CrLf({"WELL01", "\"Main St, north\"", "\xC8\xAA\xD1\xDB"}));
}

TEST_F(ToMifBatch, RefusedAndVanishedSourcesAreReportedAndStayListed) {
  // An unknown suffix is refused before any overwrite question; a vanished source is named.
  WriteBytes(In("notes.txt"), "text");
  WriteBytes(In("day2.UPT"), ReadBytes(In("wells.upt")));
  WriteBytes(Out("notes.mif"), "keep");
  ScriptedUi ui({In("notes.txt"), In("day2.UPT"), In("gone.upt"), In("wells.upt")});
  RunToMifBatch(ui, OutFolder());

  ASSERT_EQ(ui.shown.size(), 4u);
  for (int i : {0, 1}) {
    EXPECT_EQ(ui.shown[i].text, kNotReceiverFile);
    EXPECT_EQ(ui.shown[i].title, kProgramTitle);
  }
  EXPECT_EQ(ui.shown[2].text, "文件 " + In("gone.upt") + " 没有转换：文件或文件夹不存在");
  EXPECT_EQ(ui.shown[2].title, "消息");
  EXPECT_EQ(ui.shown[3].text, Summary(1));
  EXPECT_EQ(ui.sources, (std::vector<std::string>{In("notes.txt"), In("day2.UPT"), In("gone.upt")}));
  EXPECT_EQ(OutNames(), (Names{"notes.mif", "wells.mif", "wells.mid"}));
  EXPECT_EQ(ReadBytes(Out("notes.mif")), "keep");
}

TEST_F(ToMifBatch, OkReplacesTheExistingPair) {
  WriteBytes(Out("wells.mif"), "old");
  WriteBytes(Out("wells.mid"), "old");
  ScriptedUi ui({In("wells.upt")});
  ui.overwriteAnswers = {OverwriteAnswer::Overwrite};
  RunToMifBatch(ui, OutFolder());

  EXPECT_EQ(ui.shown[0].text, Out("wells.mif") + "文件已存在，您是否要覆盖？");
  EXPECT_EQ(ui.shown[0].title, "消息");
  EXPECT_EQ(ReadBytes(Out("wells.mif")).rfind("Version 300\r\n", 0), 0u);
  EXPECT_EQ(ReadBytes(Out("wells.mid")).rfind("WELL01\r\n", 0), 0u);
  EXPECT_EQ(Last(ui).text, Summary(1));
}

TEST_F(ToMifBatch, CancelAsksForANameUntilOneIsFree) {
  WriteBytes(Out("wells.mif"), "old");
  WriteBytes(Out("wells_2.mif"), "old 2");
  ScriptedUi ui({In("wells.upt")});
  ui.overwriteAnswers = {OverwriteAnswer::Rename};
  // Empty, a name holding a separator, a name that exists, then a free one.
  ui.textAnswers = {"", "sub/x", "wells_2", "wells_2_2"};
  RunToMifBatch(ui, OutFolder());

  EXPECT_EQ(ui.proposals, (std::vector<std::string>{"wells_2", "_2", "_2", "wells_2_2"}));
  EXPECT_EQ(ui.shown[1].text, "文件重命名为");
  EXPECT_EQ(ui.shown[1].title, "请重新为文件命名！");
  EXPECT_EQ(OutNames(), (Names{"wells.mif", "wells_2.mif", "wells_2_2.mif", "wells_2_2.mid"}));
  EXPECT_EQ(ReadBytes(Out("wells.mif")), "old");
  EXPECT_EQ(Last(ui).text, Summary(1));
}

TEST_F(ToMifBatch, OutputsThatCannotBeCreatedAreReported) {
  ScriptedUi ui({In("wells.upt")});
  RunToMifBatch(ui, Out("missing"));
  EXPECT_EQ(ui.shown[0].text,
            "文件 " + In("wells.upt") + " 没有转换：" + Out("missing") + kSeparator + "wells.mif：文件或文件夹不存在");
  EXPECT_EQ(ui.sources.size(), 1u);

  fs::permissions(Out(), fs::perms::owner_read | fs::perms::owner_exec);
  WriteBytes(Out("probe"), "x");
  if (fs::exists(Out("probe"))) GTEST_SKIP() << "this user can write into a read-only folder";
  ScriptedUi readOnly({In("wells.upt")});
  RunToMifBatch(readOnly, OutFolder());
  EXPECT_NE(readOnly.shown[0].text.find("没有访问权限"), std::string::npos) << readOnly.shown[0].text;
  EXPECT_EQ(Last(readOnly).text, Summary(0));
  EXPECT_TRUE(OutNames().empty());
}

TEST_F(ToMifBatch, AFailedConversionLeavesTheExistingPairAlone) {
  // The MID output cannot replace a folder of its name, so nothing may be replaced.
  WriteBytes(Out("wells.mif"), "old");
  fs::create_directory(Out("wells.mid"));
  ScriptedUi ui({In("wells.upt")});
  ui.overwriteAnswers = {OverwriteAnswer::Overwrite};
  RunToMifBatch(ui, OutFolder());

  ASSERT_EQ(ui.shown.size(), 3u);
  EXPECT_NE(ui.shown[1].text.find(Out("wells.mid")), std::string::npos) << ui.shown[1].text;
  EXPECT_EQ(ReadBytes(Out("wells.mif")), "old");
  EXPECT_EQ(OutNames(), (Names{"wells.mif", "wells.mid"}));
  EXPECT_EQ(ui.sources.size(), 1u);
  EXPECT_EQ(Last(ui).text, Summary(0));
}

}  // namespace
}  // namespace carteloom::testing
