#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>

#include "formats/mid_reader.h"
#include "formats/mif_reader.h"
#include "formats/sentence.h"
#include "mif_samples.h"
#include "to_receiver/to_receiver_batch.h"

namespace carteloom {
namespace {

using testing::CrLf;
using testing::ReadBytes;
using testing::RunCommand;
using testing::ScratchFolder;
using testing::WriteBytes;

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

int ToReceiver(const std::string& folder, const std::string& files) {
  return RunCommand(std::string(CARTELOOM_CLI) + " to-receiver -o " + Quoted(folder) +
                    " --on-exist=overwrite " + files + " >/dev/null 2>&1");
}

// Writes GeoJSON and has GDAL's MapInfo writer turn it into a MIF/MID pair.
bool GdalPair(const ScratchFolder& folder, const std::string& name, const std::string& features) {
  WriteBytes(folder / (name + ".geojson"), "{\"type\":\"FeatureCollection\",\"features\":[" + features + "]}");
  return RunCommand("ogr2ogr -f 'MapInfo File' " + Quoted(folder / (name + ".mif")) + " " +
                    Quoted(folder / (name + ".geojson")) + " >/dev/null 2>&1") == 0;
}

std::string Feature(const std::string& name, const std::string& geometry) {
  return "{\"type\":\"Feature\",\"properties\":{\"name\":\"" + name + "\",\"depth\":3},\"geometry\":" + geometry + "}";
}

TEST(ToReceiverEndToEnd, PairsWrittenByGdal) {
  if (RunCommand("command -v ogr2ogr >/dev/null 2>&1") != 0) GTEST_SKIP() << "ogr2ogr is not installed";
  ScratchFolder in, out;
  ASSERT_TRUE(GdalPair(in, "wells",
                       Feature("WELL01", R"({"type":"Point","coordinates":[116.39139,39.9075]})") + "," +
                           Feature(R"(Main St, \"north\")", R"({"type":"Point","coordinates":[-70.5,-33.25]})")));
  ASSERT_TRUE(GdalPair(in, "roads",
                       Feature("ROAD1", R"({"type":"LineString","coordinates":[[116,39],[116.5,39.5],[117,40]]})") +
                           "," + Feature("SEG", R"({"type":"LineString","coordinates":[[1,2],[3,4]]})") + "," +
                           Feature("TWO", R"({"type":"MultiLineString","coordinates":[[[5,6]],[[7,8],[9,10]]]})")));
  ASSERT_EQ(ToReceiver(out.Path().string(), Quoted(in / "wells.mif") + " " + Quoted(in / "roads.mif")), 0);
  EXPECT_EQ(ReadBytes(out / "wells.upt"), CrLf({"$PZTJWPL,3954.450,N,11623.483,E,0000000,M,WELL01,,a*45",
                                                "$PZTJWPL,3315.000,S,07030.000,W,0000000,M,Main St_ \"north\",,a*67"}));
  EXPECT_EQ(ReadBytes(out / "roads.rte"),
            CrLf({"$PZTJWPL,3900.000,N,11600.000,E,-000005,M,WPT001_1,,a*4C",
                  "$PZTJWPL,3930.000,N,11630.000,E,-000005,M,WPT002_1,,a*4F",
                  "$PZTJWPL,4000.000,N,11700.000,E,-000005,M,WPT003_1,,a*41",
                  "$PZTJWPL,0200.000,N,00100.000,E,-000005,M,WPT001_2,,a*40",
                  "$PZTJWPL,0400.000,N,00300.000,E,-000005,M,WPT002_2,,a*47",
                  "$PZTJWPL,0600.000,N,00500.000,E,-000005,M,WPT001_3,,a*41",
                  "$PZTJWPL,0800.000,N,00700.000,E,-000005,M,WPT001_4,,a*4A",
                  "$PZTJWPL,1000.000,N,00900.000,E,-000005,M,WPT002_4,,a*4E",
                  "$PZTJRTE,2,1,c,1,ROAD1,WPT001_1,a,WPT002_1,a*00", "$PZTJRTE,2,2,c,1,ROAD1,WPT003_1,a,,a*0E",
                  "$PZTJRTE,1,1,c,1,SEG,WPT001_2,a,WPT002_2,a*7B", "$PZTJRTE,1,1,c,1,TWO,WPT001_3,a,,a*6B",
                  "$PZTJRTE,1,1,c,1,TWO,WPT001_4,a,WPT002_4,a*66", "$PZTJCMD,END*3D"}));
}

struct Layer {
  std::vector<MifObject> objects;
  std::vector<std::string> names;
};

Layer ReadPair(const std::string& mifPath, const std::string& midPath) {
  Layer layer;
  std::string text = ReadBytes(mifPath);
  MifScanner scanner(text);
  MifObject object;
  while (scanner.Next(object)) layer.objects.push_back(object);
  MidReader names(midPath, scanner.Delimiter());
  std::string name;
  while (names.NextRow(name)) layer.names.push_back(name);
  return layer;
}

void ExpectSamePositions(const MifObject& written, const MifObject& read) {
  ASSERT_EQ(written.vertices.size(), read.vertices.size());
  for (std::size_t v = 0; v < written.vertices.size(); ++v) {
    EXPECT_NEAR(written.vertices[v].x, read.vertices[v].x, 0.0005 / 60) << v;
    EXPECT_NEAR(written.vertices[v].y, read.vertices[v].y, 0.0005 / 60) << v;
  }
}

TEST(ToReceiverEndToEnd, ReceiverFilesConvertBackToTheSameLayer) {
  ScratchFolder in, out, back;
  std::string gbk = "\xB1\xB1\xBE\xA9";
  WriteBytes(in / "wells.mif", testing::MifText({"Point 116.391391 39.907512", "Point -8.25 -0.0125",
                                                   "Point 0.1234567 51.5"}));
  WriteBytes(in / "wells.mid", "\"WELL01\"\r\n\"" + gbk + "\"\r\n\"a,b\"\r\n");
  WriteBytes(in / "roads.mif", testing::MifText({"Pline 3", "116.1 39.2", "116.123456 39.654321", "-3.5 -4.75",
                                                   "Line 1 2 3 4"}));
  WriteBytes(in / "roads.mid", "ROAD1\r\n" + gbk + "\r\n");
  ASSERT_EQ(ToReceiver(out.Path().string(), Quoted(in / "wells.mif") + " " + Quoted(in / "roads.mif")), 0);
  ASSERT_EQ(RunCommand(std::string(CARTELOOM_CLI) + " to-mif -o " + Quoted(back.Path().string()) + " " +
                       Quoted(out / "wells.upt") + " " + Quoted(out / "roads.rte") + " >/dev/null 2>&1"),
            0);

  Layer wells = ReadPair(in / "wells.mif", in / "wells.mid");
  Layer wellsBack = ReadPair(back / "wells.mif", back / "wells.mid");
  ASSERT_EQ(wellsBack.objects.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) ExpectSamePositions(wells.objects[i], wellsBack.objects[i]);
  EXPECT_EQ(wellsBack.names, (std::vector<std::string>{"WELL01", gbk, "a_b"}));

  Layer roads = ReadPair(in / "roads.mif", in / "roads.mid");
  Layer roadsBack = ReadPair(back / "roads.mif", back / "roads.mid");
  ASSERT_EQ(roadsBack.objects.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) ExpectSamePositions(roads.objects[i], roadsBack.objects[i]);
  EXPECT_EQ(roadsBack.names, (std::vector<std::string>{"ROAD1", gbk}));
}

TEST(ToReceiverEndToEnd, MillionPointsInLinearTime) {
  ScratchFolder in, out;
  constexpr int kPoints = 1000000;
  std::string mif = testing::MifText({});
  mif.reserve(mif.size() + kPoints * 40u);
  for (int i = 0; i < kPoints; ++i) mif += "Point 116.5 39.75\r\n    Symbol (35,0,12)\r\n";
  WriteBytes(in / "big.mif", mif);
  WriteBytes(in / "big.mid", "");  // every point takes a generated name
  testing::ScriptedUi ui({in / "big.mif"});
  auto start = std::chrono::steady_clock::now();
  BatchResult result = RunToReceiverBatch(ui, out.Path().string());
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(result.converted, 1u);
  EXPECT_LT(seconds, 60.0);
  // 499 in the first file, then 500 each: 2001 files, the last with 1.
  std::size_t files = 0;
  for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(out.Path())) ++files;
  EXPECT_EQ(files, 2001u);
  EXPECT_EQ(ReadBytes(out / "big2001.upt"),
            CrLf({"$PZTJWPL,3945.000,N,11630.000,E,0000000,M,WPT1000000,,a*" +
                  SentenceChecksum("PZTJWPL,3945.000,N,11630.000,E,0000000,M,WPT1000000,,a")}));
}

}  // namespace
}  // namespace carteloom
