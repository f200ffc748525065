// The MIF-to-receiver batch: layers of points, lines or both to waypoint and
// route files, with the names, splits, messages and dialogue of this direction.
#include <gtest/gtest.h>

#include <filesystem>

#include "files/stop_request.h"
#include "support/output_checks.h"
#include "support/test_support.h"
#include "to_receiver/to_receiver_batch.h"

namespace carteloom::testing {
namespace {

const std::string kSummaryTail = "个MapInfo的Mif文件转成Trekvane的航路点、航迹、航线文件！";

std::string Layer(const std::vector<std::string>& data, const std::string& coordSys = "CoordSys Earth Projection 1, 104") {
  std::vector<std::string> lines{"Version 300", "Delimiter \",\"", coordSys, "Columns 1", "  Name Char(20)", "Data"};
  lines.insert(lines.end(), data.begin(), data.end());
  return CrLf(lines);
}

struct Batch {
  ScratchFolder in, out;
  ScriptedUi ui;
  std::string Add(const std::string& name, const std::string& mif, const std::string& mid, const char* midSuffix = ".mid") {
    WriteBytes(in / (name + ".mif"), mif);
    WriteBytes(in / (name + midSuffix), mid);
    return ui.sources.emplace_back(in / (name + ".mif"));
  }
  void Run() { RunToReceiverBatch(ui, out.Path().string()); }
  // The file's sentences, which must all be whole.
  std::vector<std::string> Sentences(const std::string& name) {
    EXPECT_EQ(CountSentences(ReadBytes(out / name)).problem, "") << name;
    return Lines(ReadBytes(out / name));
  }
  std::size_t Files() const { return out.Names().size(); }
};

// Field number of every sentence of the kind that starts with tag.
std::vector<std::string> Field(const std::vector<std::string>& sentences, int number, const std::string& tag = "$PZTJWPL") {
  std::vector<std::string> fields;
  for (const std::string& line : sentences) {
    if (line.rfind(tag, 0) != 0) continue;
    std::size_t at = 0;
    for (int n = 1; n < number; ++n) at = line.find(',', at) + 1;
    fields.push_back(line.substr(at, line.find(',', at) - at));
  }
  return fields;
}

TEST(ToReceiverBatch, PointLayersGiveNamedWaypointsIn499ThenFilesOf500) {
  // A region owns its row; names lose what would break a sentence; GBK passes;
  // names run out; the MID was copied from Windows media as .MID.
  Batch b;
  b.Add("regions", Layer({"Region 1", "  3", "1 1", "2 2", "1 1"}), "R\n");
  b.Add("few", Layer({"Point 116.39139 39.9075", "    Symbol (35,0,12)", "Point -70.5 -33.25", "Region 1", "  1",
                      "1 1", "Point 1 1", "Point 2 2"}),
        "WELL01\n\"a,b*c$d\"\nR\n\xB1\xB1\xBE\xA9\n", ".MID");
  // More points than the reading thread hands over in two batches.
  std::vector<std::string> points(9000, "Point 116.5 39.5"), names, written;
  for (int i = 1; i <= 9000; ++i) names.push_back(std::string("P").append(std::to_string(i)));
  b.Add("big", Layer(points), CrLf(names));
  b.Run();
  EXPECT_EQ(b.Sentences("few.upt"), (std::vector<std::string>{"$PZTJWPL,3954.450,N,11623.483,E,0000000,M,WELL01,,a*45",
                                                              "$PZTJWPL,3315.000,S,07030.000,W,0000000,M,a_b_c_d,,a*00",
                                                              "$PZTJWPL,0100.000,N,00100.000,E,0000000,M,\xB1\xB1\xBE\xA9,,a*43",
                                                              "$PZTJWPL,0200.000,N,00200.000,E,0000000,M,WPT004,,a*33"}));
  EXPECT_EQ(b.Sentences("big.upt").size(), 499u);
  for (int file = 1; file <= 19; ++file) {
    const std::vector<std::string> part = Field(b.Sentences(file == 1 ? "big.upt" : "big" + std::to_string(file) + ".upt"), 8);
    EXPECT_EQ(part.size(), file == 1 ? 499u : file < 19 ? 500u : 1u) << file;
    written.insert(written.end(), part.begin(), part.end());
  }
  EXPECT_EQ(written, names);
  ExpectProgressByBytes(b.ui);
  EXPECT_EQ(b.ui.shown.at(0).text + b.ui.shown[0].title, "此文件不是一个有效的MapInfo单独点,线Mif文件,请检查！" + std::string(kProgramTitle));
  EXPECT_NE(b.ui.shown.at(1).text.find("已跳过：Region 1 个。"), std::string::npos);
  EXPECT_EQ(b.ui.shown.at(2).text + b.ui.shown[2].title, "共计 2" + kSummaryTail + "消息");
  EXPECT_TRUE(b.ui.sources.empty());
  EXPECT_EQ(b.Files(), 20u);  // no temporary file left
}

TEST(ToReceiverBatch, LineLayersGiveRoutesOfGeneratedWaypoints) {
  std::vector<std::string> data{"Pline 3", "116 39", "  116.5 39.5", "\t117 40", "    Pen (1,2,0)", "PLINE MULTIPLE 2",
                                "  1", "5 6", "  2", "7 8", "9 10", "Pline 150000"};  // more than read at once
  for (int v = 0; v < 150000; ++v) data.push_back("        116 39");  // the MIF larger than a block
  Batch b;
  b.Add("roads", Layer(data), "ROAD1\n\"M,2\"\n");
  b.Run();
  const std::vector<std::string> routes = b.Sentences("roads.rte");
  EXPECT_EQ(std::vector<std::string>(routes.begin(), routes.begin() + 3),
            (std::vector<std::string>{"$PZTJWPL,3900.000,N,11600.000,E,-000005,M,WPT001_1,,a*4C",
                                      "$PZTJWPL,3930.000,N,11630.000,E,-000005,M,WPT002_1,,a*4F",
                                      "$PZTJWPL,4000.000,N,11700.000,E,-000005,M,WPT003_1,,a*41"}));
  EXPECT_EQ(Field(routes, 8).size(), 150006u);
  EXPECT_EQ(Field(routes, 8)[100005] + Field(routes, 8).back(), "WPT100000_4WPT150000_4");  // mid-piece, last
  EXPECT_EQ(std::vector<std::string>(routes.end() - 75005, routes.end() - 75001),
            (std::vector<std::string>{"$PZTJRTE,2,1,c,1,ROAD1,WPT001_1,a,WPT002_1,a*00",
                                      "$PZTJRTE,2,2,c,1,ROAD1,WPT003_1,a,,a*0E", "$PZTJRTE,1,1,c,1,M_2,WPT001_2,a,,a*06",
                                      "$PZTJRTE,1,1,c,1,M_2,WPT001_3,a,WPT002_3,a*0A"}));
  EXPECT_EQ(Field(routes, 6, "$PZTJRTE").back(), "\xCE\xB4\xC3\xFC\xC3\xFB");  // 未命名: the MID ran out
  EXPECT_EQ(routes.back(), "$PZTJCMD,END*3D");
  ExpectProgressByBytes(b.ui);
}

TEST(ToReceiverBatch, AMixedLayerAsMapInfoWritesItGivesWaypointsAndRoutes) {
  // The WGS84 clause over two lines, a point, a polyline of two sections, a
  // multipoint, a collection of all three kinds, objects that can become
  // neither, and a point past the last MID row.
  const std::string mif = CrLf({"Version   450", "Charset \"WindowsSimpChinese\"", "Delimiter \",\"", "Coordsys Earth",
                                "  Projection 1, 104", "Columns 2", "  Name Char(30)", "  Id Integer", "Data", "",
                                "Point 116.39139 39.9075", "Pline Multiple 2", "  2", "116 39", "116.5 39.5", "  2",
                                "117 40", "117.5 40.5", "Multipoint 3", "116.1 39.1", "116.2 39.2", "116.3 39.3",
                                "Collection 3", "  Region 1", "    4", "116 39", "116.1 39", "116.1 39.1", "116 39",
                                "  Pline 2", "116 39", "116.2 39.2", "  Multipoint 2", "116.4 39.4", "116.5 39.5",
                                "Region 1", "  3", "1 1", "2 2", "1 1", "Text", "    \"Label\"", "    116 39 116.1 39.1",
                                "None", "Point 116.6 39.6"});
  Batch b;
  const std::string source = b.Add("mixed", mif, CrLf({"\"P1\",1", "\"ROAD\",2", "\"MP\",3", "\"COL\",4", "\"R\",5", "\"T\",6", "\"N\",7"}));
  WriteBytes(b.out / "mixed.rte", "old");
  b.ui.overwriteAnswers = {OverwriteAnswer::Overwrite};
  b.Run();
  EXPECT_EQ(Field(b.Sentences("mixed.upt"), 8), (std::vector<std::string>{"P1", "MP", "MP_2", "MP_3", "COL", "COL_2", "WPT007"}));
  const std::vector<std::string> routes = b.Sentences("mixed.rte");
  EXPECT_EQ(Field(routes, 8).size(), 6u);
  EXPECT_EQ(Field(routes, 6, "$PZTJRTE"), (std::vector<std::string>{"ROAD", "ROAD", "COL"}));
  ASSERT_EQ(b.ui.shown.size(), 3u);
  EXPECT_EQ(b.ui.shown[0].text, (b.out / "mixed.rte") + " 已存在，是否覆盖？");
  EXPECT_EQ(b.ui.shown[1].file + b.ui.shown[1].text, source + "有不能转换成航路点或航线的对象，已跳过：Region 2 个，Text 1 个，None 1 个。");
  EXPECT_EQ(b.ui.shown[2].text, "共计 1" + kSummaryTail);
}

TEST(ToReceiverBatch, EntriesThatAreNotConverted) {
  // Metres at the 550th point (the 499 before it were bound for a file of
  // their own) and a latitude beyond the pole: each entry stays, nothing of it
  // is written, the batch goes on. Another clause than WGS84, or a missing
  // MID, ends the batch: no summary.
  Batch b;
  std::vector<std::string> points(600, "Point 116.5 39.5");
  points[549] = "Point 500000.5 4400000";
  const std::string metres = b.Add("metres", Layer(points), "");
  const std::string far = b.Add("far", Layer({"Line 1 2 3 90.5"}), "");
  b.Add("wells", Layer({"Point -180 90"}), "WELL01\n");
  const std::string utm = b.Add("utm", Layer({"Pline 2", "1 2", "3 4"}, "CoordSys Earth Projection 8, 104"), "a\n");
  const std::string noMid = b.Add("nomid", Layer({"Point 1 2"}), "", ".txt");
  b.Run();
  EXPECT_EQ(b.ui.sources, (std::vector<std::string>{metres, far, utm, noMid}));
  EXPECT_EQ(b.ui.shown.at(0).file + b.ui.shown[0].text, metres + "没有转换：第 550 个对象的经度 500000.5 不在 -180 到 180 之间，该文件的坐标不是经纬度");
  EXPECT_NE(b.ui.shown.at(1).text.find("第 1 个对象的纬度 90.5 不在 -90 到 90 之间"), std::string::npos);
  EXPECT_EQ(b.ui.shown.at(2).text + b.ui.shown[2].title, "该Mif文件不是WGS84坐标系,请在MapInfo中转换成WGS84坐标系后再转入!消息");
  EXPECT_EQ(b.ui.shown.size(), 3u);
  ASSERT_EQ(b.ui.reports.size(), 5u);
  EXPECT_EQ(b.ui.reports[2].outputs, std::vector<std::string>{b.out / "wells.upt"});
  EXPECT_EQ(b.ui.reports[3].whyNot + b.ui.reports[4].source + b.ui.reports[4].whyNot,
            "该Mif文件不是WGS84坐标系,请在MapInfo中转换成WGS84坐标系后再转入!" + noMid + "没有转换：批处理已提前结束");
  b.ui.sources = {noMid};
  b.Run();
  EXPECT_NE(b.ui.shown.at(3).text.find((b.in / "nomid.mid") + "：文件或文件夹不存在"), std::string::npos);
  EXPECT_EQ(b.ui.shown.size(), 4u);
  EXPECT_EQ(b.Files(), 1u);  // wells.upt
}

// One question for the parts of a layer: replacing B.upt replaces B2.upt and
// B3.upt too, and the part an older export left after them is named; another
// name leads the parts, and a part name taken all the same is asked about.
TEST(ToReceiverBatch, OverwriteDialogueOfThisDirection) {
  Batch b;
  const std::string big = b.Add("big", Layer(std::vector<std::string>(1200, "Point 116.5 39.5")), "");
  for (const char* name : {"big.upt", "big2.upt", "big3.upt", "big4.upt", "big_2.upt", "new2.upt"})
    WriteBytes(b.out / name, "old");
  b.ui.overwriteAnswers = {OverwriteAnswer::Overwrite};
  b.Run();
  ASSERT_EQ(b.ui.shown.size(), 3u);
  EXPECT_EQ(b.ui.shown[0].text + b.ui.shown[0].title, (b.out / "big.upt") + " 已存在，是否覆盖？Message");
  EXPECT_EQ(b.ui.shown[1].text, (b.out / "big3.upt") + " 是这一图层的最后一个航路点文件。\n以下文件是以前的转换留下的，"
                                                        "其中的航路点不是这次转换的：\n  " + (b.out / "big4.upt"));
  EXPECT_EQ(b.Sentences("big3.upt").size(), 201u);
  EXPECT_EQ(ReadBytes(b.out / "big4.upt"), "old");

  // big.upt: a new name, taken, then "new", which the parts follow; new2.upt
  // asked about, a taken name typed for it, then "more"; a blank name for later
  // ends the batch.
  const std::string later = b.Add("later", Layer({"Point 1 2"}), "");
  WriteBytes(b.out / "later.upt", "old");
  b.ui = ScriptedUi({big, later});
  b.ui.overwriteAnswers = {OverwriteAnswer::Rename, OverwriteAnswer::Rename, OverwriteAnswer::Rename};
  b.ui.textAnswers = {"big_2", "new", "new2", "more", " "};
  b.Run();
  EXPECT_EQ(b.ui.shown[1].text + b.ui.shown[1].title, "文件重命名为请输入一个新的文件名！");
  EXPECT_EQ(b.ui.shown[3].text, (b.out / "new2.upt") + " 已存在，是否覆盖？");
  EXPECT_EQ(b.ui.proposals, (std::vector<std::string>{"big_2", "big_2_2", "new2_2", "new2_2", "later_2"}));
  EXPECT_EQ((std::vector<std::size_t>{b.Sentences("new.upt").size(), b.Sentences("more.upt").size(),
                                      b.Sentences("new3.upt").size()}),
            (std::vector<std::size_t>{499, 500, 201}));
  EXPECT_EQ(ReadBytes(b.out / "new2.upt"), "old");
  EXPECT_EQ(b.ui.sources, std::vector<std::string>{later});
  EXPECT_EQ(b.ui.shown.back().kind, "input");
  EXPECT_EQ(b.ui.renamed, (std::vector<std::string>{b.out / "new.upt", b.out / "more.upt"}));
  EXPECT_EQ(b.ui.reports.back().whyNot, "没有转换：没有输入新的文件名");
}

// A stop midway leaves the old file alone (the reading ahead ends with the
// reader still busy), and so does the name of a later part left alone. (That the parts replace old files together or not at all
// is the kill-anywhere test's, which splits a layer.)
TEST(ToReceiverBatch, PartsReplaceOldFilesTogetherOrNotAtAll) {
  Batch b;
  b.Add("big", Layer(std::vector<std::string>(20000, "Point 116.5 39.5")), "");
  WriteBytes(b.out / "big.upt", "old");
  struct StoppingUi : ScriptedUi {
    void ShowProgress(std::uint64_t done, std::uint64_t) override {
      if (done > 0) RequestStop();
    }
  } stopping;
  stopping.sources = b.ui.sources;
  stopping.overwriteAnswers = {OverwriteAnswer::Overwrite};
  EXPECT_TRUE(RunToReceiverBatch(stopping, b.out.Path().string()).stopped);
  ClearStopRequest();
  EXPECT_EQ(ReadBytes(b.out / "big.upt"), "old");
  EXPECT_EQ(b.Files(), 1u);

  // The name of a later part left alone: the parts before it are not written either.
  std::filesystem::rename(b.out.Path() / "big.upt", b.out.Path() / "big2.upt");
  ScriptedUi leaving(b.ui.sources);
  leaving.overwriteAnswers = {OverwriteAnswer::Rename};
  leaving.textAnswers = {std::nullopt};
  EXPECT_EQ(RunToReceiverBatch(leaving, b.out.Path().string()).converted, 0u);
  EXPECT_EQ(ReadBytes(b.out / "big2.upt"), "old");
  EXPECT_EQ(b.Files(), 1u);
}

// Layers that GDAL writes convert alike, in UTF-8 or GBK.
TEST(ToReceiverWithGdal, LayersWrittenByGdalInUtf8OrGbk) {
  if (!HaveGdal()) GTEST_SKIP() << "GDAL is not installed";
  ScratchFolder in, utf8, gbk;
  // Points, lines of one and two parts, a polygon and a feature without geometry in one layer.
  WriteBytes(in / "mixed.json",
             GeoJson("", {{R"("name":"泉眼")", R"({"type":"Point","coordinates":[116.39139,39.9075]})"},
                          {R"("name":"St, \"N\"")", R"({"type":"Point","coordinates":[-70.5,-33.25]})"},
                          {R"("name":"河堤路")", R"({"type":"LineString","coordinates":[[116,39],[116.5,39.5],[117,40]]})"},
                          {R"("name":"TWO")", R"({"type":"MultiLineString","coordinates":[[[5,6],[6,7]],[[7,8],[9,10]]]})"},
                          {R"("name":"AREA")", R"({"type":"Polygon","coordinates":[[[0,0],[1,0],[1,1],[0,0]]]})"},
                          {R"("name":"NONE")", "null"}}));
  for (const char* options : {"", "-lco ENCODING=CP936"})
    ASSERT_EQ(RunCommand(std::string("ogr2ogr -f 'MapInfo File' ") + options + " '" + (in / (*options ? "gbk.mif" : "utf8.mif")) +
                         "' '" + (in / "mixed.json") + "' >/dev/null 2>&1"), 0);
  ScriptedUi fromUtf8({in / "utf8.mif"}), fromGbk({in / "gbk.mif"});
  ASSERT_EQ(RunToReceiverBatch(fromUtf8, utf8.Path().string()).converted, 1u);
  ASSERT_EQ(RunToReceiverBatch(fromGbk, gbk.Path().string()).converted, 1u);
  EXPECT_EQ(ReadBytes(utf8 / "utf8.upt"), CrLf({"$PZTJWPL,3954.450,N,11623.483,E,0000000,M,\xC8\xAA\xD1\xDB,,a*3E",
                                                "$PZTJWPL,3315.000,S,07030.000,W,0000000,M,St_ \"N\",,a*4D"}));
  EXPECT_EQ(ReadBytes(utf8 / "utf8.upt"), ReadBytes(gbk / "gbk.upt"));
  const std::string routes = ReadBytes(utf8 / "utf8.rte");
  EXPECT_EQ(routes, ReadBytes(gbk / "gbk.rte"));
  for (const char* route : {"$PZTJRTE,2,1,c,1,\xBA\xD3\xB5\xCC\xC2\xB7,WPT001_1,a,WPT002_1,a*", "$PZTJRTE,1,1,c,1,TWO,WPT001_2,a,WPT002_2,a*",
                            "$PZTJRTE,1,1,c,1,TWO,WPT001_3,a,WPT002_3,a*"})
    EXPECT_NE(routes.find(route), std::string::npos) << route;
}

}  // namespace
}  // namespace carteloom::testing
