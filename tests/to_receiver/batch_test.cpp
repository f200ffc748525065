#include <gtest/gtest.h>

#include <filesystem>

#include "formats/gbk_text.h"
#include "mif_samples.h"
#include "to_receiver/to_receiver_batch.h"

namespace carteloom {
namespace {

using testing::CrLf;
using testing::LineCount;
using testing::MifText;
using testing::WriteBytes;

const std::string kSummaryTail = "个MapInfo的Mif文件转成Trekvane的航路点、航迹、航线文件！";

struct Batch {
  testing::ScratchFolder in, out;
  testing::ScriptedUi ui;
  BatchResult result;

  std::string Add(const std::string& name, const std::string& mif, const std::string& mid,
                  const std::string& midSuffix = ".mid") {
    WriteBytes(in / (name + ".mif"), mif);
    WriteBytes(in / (name + midSuffix), mid);
    return ui.sources.emplace_back(in / (name + ".mif"));
  }
  void Run() { result = RunToReceiverBatch(ui, out.Path().string()); }
  std::string Output(const std::string& name) const { return testing::ReadBytes(out / name); }
  std::size_t OutputCount() const {
    auto entries = std::filesystem::directory_iterator(out.Path());
    return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
  }
};

const std::string kOnePoint = MifText({"Point 116.39139 39.9075", "    Symbol (35,0,12)"});
const std::string kOneLine = MifText({"Line 116 39 116.5 39.5"});

TEST(ToReceiverBatch, ConvertsEveryEntryRefusesOthersAndCountsTheConverted) {
  Batch b;
  b.Add("regions", MifText({"Region 1", "  3", "1 1", "2 2", "1 1"}), "\"R\"\n");
  b.Add("wells", kOnePoint, "\"WELL01\"\none\ntwo\n");  // surplus rows end nothing
  b.Add("roads", kOneLine, "\"ROAD1\"\n", ".MID");      // copied from Windows media
  b.Run();
  EXPECT_EQ(LineCount(b.Output("wells.upt")), 1);
  EXPECT_NE(b.Output("roads.rte").find(",ROAD1,WPT001_1,a,WPT002_1,a*"), std::string::npos);
  EXPECT_TRUE(b.ui.sources.empty());
  EXPECT_EQ(b.OutputCount(), 2u);  // no temporary files left behind
  EXPECT_EQ(b.ui.progressMaximum, 500);
  ASSERT_EQ(b.ui.shown.size(), 2u);
  EXPECT_EQ(b.ui.shown[0].text, "此文件不是一个有效的MapInfo单独点,线Mif文件,请检查！");
  EXPECT_EQ(b.ui.shown[0].title, kProgramTitle);
  EXPECT_EQ(b.ui.shown[1].text, "共计 2" + kSummaryTail);
  EXPECT_EQ(b.ui.shown[1].title, "消息");
}

TEST(ToReceiverBatch, PointNamesPositionsAndSplit) {
  // The region owns row 2, the MID runs out at the fourth point, names lose
  // the bytes that would break the sentence, and GBK passes unchanged.
  Batch b;
  b.Add("few", MifText({"Point -70.5 -33.25", "Region 1", "  1", "1 1", "Point 1 1", "Point 2 2", "Point 3 3"}),
        "\"a,b*c$d\"\n\"R\"\n\xB1\xB1\xBE\xA9\n");
  std::string names;
  for (int i = 1; i <= 1200; ++i) names.append("P").append(std::to_string(i)).append("\n");
  b.Add("big", testing::PointLayer(1200), names);
  b.Run();
  std::string few = b.Output("few.upt");
  EXPECT_EQ(few.substr(0, few.find('\n') + 1), "$PZTJWPL,3315.000,S,07030.000,W,0000000,M,a_b_c_d,,a*00\r\n");
  for (const char* name : {",M,\xB1\xB1\xBE\xA9,,a*", ",M,WPT003,,a*", ",M,WPT004,,a*"})
    EXPECT_NE(few.find(name), std::string::npos) << name;
  EXPECT_EQ(LineCount(few), 4);
  EXPECT_EQ(LineCount(b.Output("big.upt")), 499);
  EXPECT_EQ(b.Output("big2.upt").find("$PZTJWPL,3930.000,N,11630.000,E,0000000,M,P500,,a*"), 0u);
  EXPECT_EQ(LineCount(b.Output("big2.upt")), 500);
  EXPECT_EQ(LineCount(b.Output("big3.upt")), 201);
  std::vector<int> progress(b.ui.progressValues.begin() + 4, b.ui.progressValues.end());  // after "few"
  EXPECT_EQ(progress[0], 499);
  EXPECT_EQ(progress[500], 0);  // at the split
  EXPECT_EQ(progress[501], 499);
}

TEST(ToReceiverBatch, EveryPolylineAndSectionIsARoute) {
  // 600 lines without pen clauses: a Line, a two-section Pline, one of 1000
  // vertices; the MID names the first two objects only.
  std::vector<std::string> data{"Line 1 2 3 4", "PLINE MULTIPLE 2", "  1", "5 6", "  2", "7 8", "9 10", "Pline 1000"};
  for (int v = 0; v < 1000; ++v) data.push_back("116 39");
  for (int p = 5; p <= 600; ++p) data.insert(data.end(), {"Pline 1", "1 1"});
  Batch b;
  b.Add("roads", MifText(data), "\"L,1\"\nM\n");
  b.Run();
  std::string out = b.Output("roads.rte");
  std::string unnamed(kUnnamedGbk);
  for (const std::string& route : std::vector<std::string>{"1,1,c,1,L_1,WPT001_1,a,WPT002_1,a*", "1,1,c,1,M,WPT001_2,a,,a*",
                            "1,1,c,1,M,WPT001_3,a,WPT002_3,a*", "500,500,c,1," + unnamed + ",WPT999_4,a,WPT1000_4,a*",
                            "1,1,c,1," + unnamed + ",WPT001_600,a,,a*"})
    EXPECT_NE(out.find("$PZTJRTE," + route), std::string::npos) << route;
  EXPECT_EQ(out.substr(out.size() - 17), "$PZTJCMD,END*3D\r\n");
  EXPECT_EQ(b.ui.progressValues.at(498), 1);
  EXPECT_EQ(*std::min_element(b.ui.progressValues.begin(), b.ui.progressValues.end()), 0);
}

// The name field of every sentence of a receiver file, and its route sentences.
std::vector<std::string> Field(const std::string& file, std::size_t number, const std::string& tag = "$PZTJWPL") {
  std::vector<std::string> fields;
  for (std::size_t start = 0, end; (end = file.find("\r\n", start)) != std::string::npos; start = end + 2) {
    std::string line = file.substr(start, end - start);
    if (line.rfind(tag, 0) != 0) continue;
    std::size_t at = 0;
    for (std::size_t n = 1; n < number; ++n) at = line.find(',', at) + 1;
    fields.push_back(line.substr(at, line.find(',', at) - at));
  }
  return fields;
}

TEST(ToReceiverBatch, AMixedLayerAsMapInfoWritesItGivesWaypointsAndRoutes) {
  // The WGS84 clause over two lines, a point, a two-section polyline, a
  // multipoint, a collection of all three kinds, objects that can become
  // neither, and a point past the last MID row.
  const std::string mif = CrLf({"Version   450", "Charset \"WindowsSimpChinese\"", "Delimiter \",\"", "Coordsys Earth",
                                "  Projection 1, 104", "Columns 2", "  Name Char(30)", "  Id Integer", "Data", "",
                                "Point 116.39139 39.9075", "    Symbol (35,0,12)", "Pline Multiple 2", "  2", "116 39",
                                "116.5 39.5", "  2", "117 40", "117.5 40.5", "    Pen (1,2,0)", "Multipoint 3",
                                "116.1 39.1", "116.2 39.2", "116.3 39.3", "    Symbol (35,0,12)", "Collection 3",
                                "  Region 1", "    4", "116 39", "116.1 39", "116.1 39.1", "116 39",
                                "    Brush (2,16777215,16777215)", "  Pline 2", "116 39", "116.2 39.2",
                                "  Multipoint 2", "116.4 39.4", "116.5 39.5", "Region 1", "  3", "1 1", "2 2", "1 1",
                                "Text", "    \"Label\"", "    116 39 116.1 39.1", "None", "Point 116.6 39.6"});
  Batch b;
  std::string source = b.Add("mixed", mif, CrLf({"\"P1\",1", "\"ROAD\",2", "\"MP\",3", "\"COL\",4", "\"R\",5",
                                                   "\"T\",6", "\"N\",7"}));
  WriteBytes(b.out / "mixed.rte", "old");
  b.ui.overwriteAnswers = {OverwriteAnswer::Overwrite};
  b.Run();
  EXPECT_EQ(Field(b.Output("mixed.upt"), 8),
            (std::vector<std::string>{"P1", "MP", "MP_2", "MP_3", "COL", "COL_2", "WPT007"}));
  const std::string routes = b.Output("mixed.rte");
  EXPECT_EQ(Field(routes, 8), (std::vector<std::string>{"WPT001_1", "WPT002_1", "WPT001_2", "WPT002_2", "WPT001_3",
                                                         "WPT002_3"}));
  EXPECT_EQ(Field(routes, 6, "$PZTJRTE"), (std::vector<std::string>{"ROAD", "ROAD", "COL"}));
  EXPECT_EQ(routes.substr(routes.size() - 17), "$PZTJCMD,END*3D\r\n");
  ASSERT_EQ(b.ui.shown.size(), 3u);
  EXPECT_EQ(b.ui.shown[0].text, (b.out / "mixed.rte") + " 已存在，是否覆盖？");
  EXPECT_EQ(b.ui.shown[1].text, "文件 " + source + " 中有不能转换成航路点或航线的对象，已跳过：Region 2 个，Text 1 个，None 1 个。");
  EXPECT_EQ(b.ui.shown[2].text, "共计 1" + kSummaryTail);
  EXPECT_EQ(b.result.converted, 1u);
}

TEST(ToReceiverBatch, CoordinatesOutOfRangeLeaveTheEntryAndNothingOfIt) {
  // Metres at the 550th point: the 499 before it were bound for a file of their own.
  Batch b;
  std::vector<std::string> points(600, "Point 116.5 39.5");
  points[549] = "Point 500000.5 4400000";
  std::string first = b.Add("metres", MifText(points), "");
  b.Add("wells", kOnePoint, "WELL01\n");
  b.Run();
  EXPECT_EQ(b.ui.sources, std::vector<std::string>{first});
  EXPECT_EQ(b.ui.shown.at(0).text, "文件 " + first + " 没有转换：第 550 个对象的经度 500000.5 不在 -180 到 180 之间，该文件的坐标不是经纬度");
  EXPECT_EQ(b.ui.shown.at(1).text, "共计 1" + kSummaryTail);
  EXPECT_EQ(b.OutputCount(), 1u);
  EXPECT_EQ(LineCount(b.Output("wells.upt")), 1);
}

TEST(ToReceiverBatch, OverwriteDialogueOfThisDirection) {
  Batch b;
  b.Add("big", testing::PointLayer(600), "");
  std::string later = b.Add("later", kOnePoint, "");
  WriteBytes(b.out / "big.upt", "old");
  WriteBytes(b.out / "big_2.upt", "old");
  WriteBytes(b.out / "new2.upt", "old");  // the second file of the renamed layer
  WriteBytes(b.out / "later.upt", "old");
  b.ui.overwriteAnswers = {OverwriteAnswer::Rename, OverwriteAnswer::Overwrite, OverwriteAnswer::Rename};
  b.ui.textAnswers = {"big_2", "new", " "};
  b.Run();
  EXPECT_EQ(b.ui.shown[0].text, (b.out / "big.upt") + " 已存在，是否覆盖？");
  EXPECT_EQ(b.ui.shown[0].title, "Message");
  EXPECT_EQ(b.ui.shown[1].text, "文件重命名为");
  EXPECT_EQ(b.ui.shown[1].title, "请输入一个新的文件名！");
  EXPECT_EQ(b.ui.shown[3].text, (b.out / "new2.upt") + " 已存在，是否覆盖？");
  EXPECT_EQ(b.ui.proposals, (std::vector<std::string>{"big_2", "big_2_2", "later_2"}));
  EXPECT_EQ(LineCount(b.Output("new.upt")), 499);
  EXPECT_EQ(LineCount(b.Output("new2.upt")), 101);
  // The blank name for the next file ends the batch: it stays, no summary.
  EXPECT_EQ(b.ui.sources, std::vector<std::string>{later});
  EXPECT_EQ(b.ui.shown.back().kind, "input");
  EXPECT_EQ(b.Output("big.upt"), "old");
}

TEST(ToReceiverBatch, ANameTypedForOnePartIsNotGivenToTheNext) {
  // big2.upt exists and is renamed big3: the third part cannot be big3 as well.
  Batch b;
  b.Add("big", testing::PointLayer(1200), "");
  WriteBytes(b.out / "big2.upt", "old");
  b.ui.overwriteAnswers = {OverwriteAnswer::Rename};
  b.ui.textAnswers = {"big3", "big3_2"};
  b.Run();
  EXPECT_EQ(b.ui.proposals, (std::vector<std::string>{"big2_2", "big3_2"}));
  EXPECT_EQ(LineCount(b.Output("big3.upt")), 500);
  EXPECT_EQ(LineCount(b.Output("big3_2.upt")), 201);
  EXPECT_EQ(b.Output("big2.upt"), "old");
}

TEST(ToReceiverBatch, FailuresStopTheBatchAndLeaveTheEntry) {
  Batch b;
  std::string utm = b.Add("utm", MifText({"Pline 2", "1 2", "3 4"}, "CoordSys Earth Projection 8, 104"), "a\n");
  b.Run();
  EXPECT_EQ(b.ui.shown.at(0).text, "该Mif文件不是WGS84坐标系,请在MapInfo中转换成WGS84坐标系后再转入!");
  EXPECT_EQ(b.ui.shown[0].title, "消息");

  std::string noMid = b.Add("wells", kOnePoint, "", ".txt");
  b.ui.sources = {noMid, utm};
  b.Run();
  EXPECT_NE(b.ui.shown.at(1).text.find((b.in / "wells.mid") + "：文件或文件夹不存在"), std::string::npos);
  EXPECT_EQ(b.ui.shown.size(), 2u);  // the batch stopped at the missing MID
  EXPECT_EQ(b.ui.sources, (std::vector<std::string>{noMid, utm}));
  EXPECT_EQ(b.OutputCount(), 0u);
}

}  // namespace
}  // namespace carteloom
