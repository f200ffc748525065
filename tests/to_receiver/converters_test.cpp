#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "formats/gbk_text.h"
#include "formats/sentence.h"
#include "mif_samples.h"
#include "to_receiver/converters.h"

namespace carteloom {
namespace {

using testing::CrLf;
using testing::MifText;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::ScriptedUi;

// Waypoint files named part1.upt, part2.upt ... in a scratch folder.
class PartFiles : public WaypointFiles {
 public:
  explicit PartFiles(const ScratchFolder& folder) : folder_(folder) { StartNext(); }
  OutputFile& Current() override { return *current_; }
  bool StartNext() override {
    if (current_) current_->Commit();
    current_ = std::make_unique<OutputFile>(Path(++count));
    return true;
  }
  std::string Path(int part) const { return folder_ / ("part" + std::to_string(part) + ".upt"); }
  void Finish() { current_->Commit(); }
  int count = 0;

 private:
  const ScratchFolder& folder_;
  std::unique_ptr<OutputFile> current_;
};

struct PointRun {
  ScratchFolder folder;
  ScriptedUi ui;
  std::vector<std::string> files;  // contents of part1, part2 ...
};

std::unique_ptr<PointRun> ConvertPoints(const std::string& mif, const std::string& mid) {
  auto run = std::make_unique<PointRun>();
  PartFiles parts(run->folder);
  MifScanner objects(mif);
  MidReader names = MidReader::FromText(mid, ',');
  EXPECT_TRUE(ConvertMifPoints(objects, names, parts, run->ui));
  parts.Finish();
  for (int k = 1; k <= parts.count; ++k) run->files.push_back(ReadBytes(parts.Path(k)));
  return run;
}

std::string ConvertLines(const std::string& mif, const std::string& mid, ScriptedUi* ui = nullptr) {
  ScratchFolder folder;
  ScriptedUi localUi;
  OutputFile out(folder / "out.rte");
  MifScanner objects(mif);
  MidReader names = MidReader::FromText(mid, ',');
  ConvertMifPolylines(objects, names, out, ui ? *ui : localUi);
  out.Commit();
  return ReadBytes(folder / "out.rte");
}

std::size_t LineCount(const std::string& text) { return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')); }

TEST(ConvertMifPoints, WaypointSentence) {
  auto run = ConvertPoints(MifText({"Point 116.39139 39.9075", "    Symbol (35,0,12)"}), "\"WELL01\"\r\n");
  ASSERT_EQ(run->files.size(), 1u);
  EXPECT_EQ(run->files[0], "$PZTJWPL,3954.450,N,11623.483,E,0000000,M,WELL01,,a*45\r\n");
}

TEST(ConvertMifPoints, SplitsIntoFilesOf499Then500) {
  auto run = ConvertPoints(testing::PointLayer(1200), testing::NumberedNames(1200));
  ASSERT_EQ(run->files.size(), 3u);
  EXPECT_EQ(LineCount(run->files[0]), 499u);
  EXPECT_EQ(LineCount(run->files[1]), 500u);
  EXPECT_EQ(LineCount(run->files[2]), 201u);
  EXPECT_LT(run->files[1].find(",P500,,a*"), run->files[1].find('\n'));  // point 500 opens the second file
  EXPECT_EQ(run->ui.progressValues.front(), 499);
  EXPECT_EQ(run->ui.progressValues[499], 0);  // the split
  EXPECT_EQ(*std::min_element(run->ui.progressValues.begin(), run->ui.progressValues.end()), 0);

  // A further file only when a point is there to go into it.
  EXPECT_EQ(ConvertPoints(testing::PointLayer(499), testing::NumberedNames(499))->files.size(), 1u);
  EXPECT_EQ(ConvertPoints(testing::PointLayer(500), testing::NumberedNames(500))->files.size(), 2u);
}

TEST(ConvertMifPoints, EveryObjectOwnsItsRowAndNoPointIsDropped) {
  // The region takes row 2; the MID runs out at the fourth point; one more
  // column and surplus rows change nothing.
  std::string mif = MifText({"Point 1 1", "Region 1", "  1", "1 1", "Point 2 2", "Point 3 3", "Point 4 4"});
  auto run = ConvertPoints(mif, "\"A\",x\r\n\"R\",y\r\n\"B\",z\r\n");
  ASSERT_EQ(run->files.size(), 1u);
  std::vector<std::string> names;
  for (std::size_t at = 0; (at = run->files[0].find(",M,", at)) != std::string::npos; at += 3)
    names.push_back(run->files[0].substr(at + 3, run->files[0].find(',', at + 3) - at - 3));
  EXPECT_EQ(names, (std::vector<std::string>{"A", "B", "WPT003", "WPT004"}));
  EXPECT_EQ(ConvertPoints(MifText({"Point 1 1"}), "a\r\nb\r\nc\r\n")->files[0].find("$PZTJWPL"), 0u);
}

TEST(ConvertMifPoints, SouthWestAndNamesThatCannotBreakTheSentence) {
  auto run = ConvertPoints(MifText({"Point -70.5 -33.25"}), "\"a,b*c$d\"\r\n");
  std::string body = "PZTJWPL,3315.000,S,07030.000,W,0000000,M,a_b_c_d,,a";
  EXPECT_EQ(run->files[0], "$" + body + "*" + SentenceChecksum(body) + "\r\n");
  // GBK names pass through byte for byte.
  std::string gbk = "\xB1\xB1\xBE\xA9";
  EXPECT_NE(ConvertPoints(MifText({"Point 1 1"}), gbk + "\r\n")->files[0].find(",M," + gbk + ",,a*"),
            std::string::npos);
}

TEST(ConvertMifPolylines, RouteOfThreeVertices) {
  EXPECT_EQ(ConvertLines(MifText({"Pline 3", "116 39", "116.5 39.5", "117 40", "    Pen (2,2,0)"}), "ROAD1\r\n"),
            CrLf({"$PZTJWPL,3900.000,N,11600.000,E,-000005,M,WPT001_1,,a*4C",
                  "$PZTJWPL,3930.000,N,11630.000,E,-000005,M,WPT002_1,,a*4F",
                  "$PZTJWPL,4000.000,N,11700.000,E,-000005,M,WPT003_1,,a*41",
                  "$PZTJRTE,2,1,c,1,ROAD1,WPT001_1,a,WPT002_1,a*00", "$PZTJRTE,2,2,c,1,ROAD1,WPT003_1,a,,a*0E",
                  "$PZTJCMD,END*3D"}));
}

TEST(ConvertMifPolylines, EveryPolylineAndSectionIsARoute) {
  // No pen clauses, a two-vertex Line, a two-section Pline, a region taking
  // a row, and a MID that runs out before the last line.
  std::string out = ConvertLines(MifText({"Line 1 2 3 4", "Region 1", "  1", "1 1", "PLINE MULTIPLE 2", "  1",
                                          "5 6", "  2", "7 8", "9 10", "Pline 1", "11 12"}),
                                 "\"L,1\"\r\nREG\r\nM\r\n");
  std::string unnamed(kUnnamedGbk);
  for (std::string route : {"1,1,c,1,L_1,WPT001_1,a,WPT002_1,a", "1,1,c,1,M,WPT001_2,a,,a",
                            "1,1,c,1,M,WPT001_3,a,WPT002_3,a"})
    EXPECT_NE(out.find("$PZTJRTE," + route), std::string::npos) << route;
  EXPECT_NE(out.find("$PZTJRTE,1,1,c,1," + unnamed + ",WPT001_4,a,,a*"), std::string::npos);
  EXPECT_EQ(out.find("REG"), std::string::npos);
  EXPECT_EQ(LineCount(out), 6u + 4u + 1u);
}

TEST(ConvertMifPolylines, NoCapacities) {
  // 600 lines, the first of 1000 vertices.
  std::vector<std::string> data{"Pline 1000"};
  for (int v = 0; v < 1000; ++v) data.push_back("116 " + std::to_string(v % 90));
  for (int p = 2; p <= 600; ++p) data.insert(data.end(), {"Pline 2", "1 1", "2 2"});
  ScriptedUi ui;
  std::string out = ConvertLines(MifText(data), "");
  EXPECT_NE(out.find("M,WPT1000_1,,a*"), std::string::npos);
  EXPECT_NE(out.find("$PZTJRTE,500,500,c,1," + std::string(kUnnamedGbk) + ",WPT999_1,a,WPT1000_1,a*"),
            std::string::npos);
  EXPECT_NE(out.find(",WPT001_600,a,WPT002_600,a*"), std::string::npos);
  ConvertLines(MifText(data), "", &ui);
  EXPECT_EQ(ui.progressValues.size(), 600u);
  EXPECT_EQ(ui.progressValues[498], 1);
  EXPECT_EQ(ui.progressValues.back(), 0);  // never below 0
}

}  // namespace
}  // namespace carteloom
