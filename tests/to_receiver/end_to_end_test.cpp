#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>

#include "formats/mid_reader.h"
#include "formats/mif_reader.h"
#include "mif_samples.h"
#include "to_receiver/to_receiver_batch.h"

namespace carteloom {
namespace {

using testing::CrLf;
using testing::ReadBytes;
using testing::RunCommand;
using testing::WriteBytes;

std::string Quoted(const std::string& path) { return std::string(1, '\'').append(path).append(1, '\''); }

int Cli(const std::string& command, const std::string& folder, const std::vector<std::string>& files) {
  std::string line = std::string(CARTELOOM_CLI).append(" ").append(command);
  line.append(" --on-exist=overwrite -o ").append(Quoted(folder));
  for (const std::string& file : files) line.append(" ").append(Quoted(file));
  return RunCommand(line + " >/dev/null 2>&1");
}

TEST(ToReceiverEndToEnd, PairsWrittenByGdal) {
  SKIP_WITHOUT_POSIX_SHELL();
  if (RunCommand("command -v ogr2ogr >/dev/null 2>&1") != 0) GTEST_SKIP() << "ogr2ogr is not installed";
  testing::ScratchFolder in, out;
  auto gdalPair = [&](const std::string& name, const std::string& features) {
    WriteBytes(in / (name + ".json"), R"({"type":"FeatureCollection","features":[)" + features + "]}");
    return RunCommand("ogr2ogr -f 'MapInfo File' " + Quoted(in / (name + ".mif")) + " " +
                      Quoted(in / (name + ".json")) + " >/dev/null 2>&1") == 0;
  };
  auto feature = [](const std::string& name, const std::string& type, const std::string& coordinates) {
    return R"({"type":"Feature","properties":{"name":")" + name + R"(","depth":3},"geometry":{"type":")" + type +
           R"(","coordinates":)" + coordinates + "}}";
  };
  ASSERT_TRUE(gdalPair("wells", feature("WELL01", "Point", "[116.39139,39.9075]") + "," +
                                    feature(R"(St, \"N\")", "Point", "[-70.5,-33.25]")));
  ASSERT_TRUE(gdalPair("roads", feature("ROAD1", "LineString", "[[116,39],[116.5,39.5],[117,40]]") + "," +
                                    feature("TWO", "MultiLineString", "[[[5,6]],[[7,8],[9,10]]]")));
  // Points, lines, a polygon and a feature without geometry in one layer.
  ASSERT_TRUE(gdalPair("mixed", feature("W2", "Point", "[116,39]") + "," +
                                    feature("R2", "LineString", "[[116,39],[117,40]]") + "," +
                                    feature("AREA", "Polygon", "[[[0,0],[1,0],[1,1],[0,0]]]") + "," +
                                    R"({"type":"Feature","properties":{"name":"NONE"},"geometry":null})"));
  ASSERT_EQ(Cli("to-receiver", out.Path().string(), {in / "wells.mif", in / "roads.mif", in / "mixed.mif"}), 0);
  EXPECT_EQ(ReadBytes(out / "mixed.upt"), CrLf({"$PZTJWPL,3900.000,N,11600.000,E,0000000,M,W2,,a*3D"}));
  EXPECT_EQ(ReadBytes(out / "mixed.rte"), CrLf({"$PZTJWPL,3900.000,N,11600.000,E,-000005,M,WPT001_1,,a*4C",
                                                "$PZTJWPL,4000.000,N,11700.000,E,-000005,M,WPT002_1,,a*40",
                                                "$PZTJRTE,1,1,c,1,R2,WPT001_1,a,WPT002_1,a*4A", "$PZTJCMD,END*3D"}));
  EXPECT_EQ(ReadBytes(out / "wells.upt"), CrLf({"$PZTJWPL,3954.450,N,11623.483,E,0000000,M,WELL01,,a*45",
                                                "$PZTJWPL,3315.000,S,07030.000,W,0000000,M,St_ \"N\",,a*4D"}));
  EXPECT_EQ(ReadBytes(out / "roads.rte"),
            CrLf({"$PZTJWPL,3900.000,N,11600.000,E,-000005,M,WPT001_1,,a*4C",
                  "$PZTJWPL,3930.000,N,11630.000,E,-000005,M,WPT002_1,,a*4F",
                  "$PZTJWPL,4000.000,N,11700.000,E,-000005,M,WPT003_1,,a*41",
                  "$PZTJWPL,0600.000,N,00500.000,E,-000005,M,WPT001_2,,a*40",
                  "$PZTJWPL,0800.000,N,00700.000,E,-000005,M,WPT001_3,,a*4D",
                  "$PZTJWPL,1000.000,N,00900.000,E,-000005,M,WPT002_3,,a*49",
                  "$PZTJRTE,2,1,c,1,ROAD1,WPT001_1,a,WPT002_1,a*00", "$PZTJRTE,2,2,c,1,ROAD1,WPT003_1,a,,a*0E",
                  "$PZTJRTE,1,1,c,1,TWO,WPT001_2,a,,a*6A", "$PZTJRTE,1,1,c,1,TWO,WPT001_3,a,WPT002_3,a*66",
                  "$PZTJCMD,END*3D"}));
}

TEST(ToReceiverEndToEnd, ReceiverFilesConvertBackToTheSameLayer) {
  SKIP_WITHOUT_POSIX_SHELL();
  testing::ScratchFolder in, out, back;
  const std::string gbk = "\xB1\xB1\xBE\xA9";
  WriteBytes(in / "wells.mif", testing::MifText({"Point 116.391391 39.907512", "Point -8.25 -0.0125"}));
  WriteBytes(in / "wells.mid", "\"WELL01\"\r\n\"a,b\"\r\n");
  WriteBytes(in / "roads.mif", testing::MifText({"Pline 3", "116.1 39.2", "116.123456 39.654321", "-3.5 -4.75",
                                                   "Line 1 2 3 4"}));
  WriteBytes(in / "roads.mid", "ROAD1\r\n" + gbk + "\r\n");
  ASSERT_EQ(Cli("to-receiver", out.Path().string(), {in / "wells.mif", in / "roads.mif"}), 0);
  ASSERT_EQ(Cli("to-mif", back.Path().string(), {out / "wells.upt", out / "roads.rte"}), 0);

  for (auto [name, names] : {std::pair{"wells", std::vector<std::string>{"WELL01", "a_b"}},
                             std::pair{"roads", std::vector<std::string>{"ROAD1", gbk}}}) {
    std::string sent = ReadBytes(in / (name + std::string(".mif"))), came = ReadBytes(back / (name + std::string(".mif")));
    MifScanner a(sent), b(came);
    for (MifObject x, y; a.Next(x);) {
      ASSERT_TRUE(b.Next(y) && x.vertices.size() == y.vertices.size()) << name;
      for (std::size_t v = 0; v < x.vertices.size(); ++v)  // the 0.001 minute the receiver keeps
        EXPECT_TRUE(std::abs(x.vertices[v].x - y.vertices[v].x) < 0.0005 / 60 &&
                    std::abs(x.vertices[v].y - y.vertices[v].y) < 0.0005 / 60) << name << v;
    }
    MidReader mid(back / (name + std::string(".mid")), b.Delimiter());
    for (const std::string& expected : names) {
      std::string value;
      EXPECT_TRUE(mid.NextRow(value) && value == expected) << name << ": " << value;
    }
  }
}

TEST(ToReceiverEndToEnd, MillionPointsInLinearTime) {
  SKIP_WITHOUT_POSIX_SHELL();
  testing::ScratchFolder in, out;
  std::string mif = testing::MifText({});
  for (int i = 0; i < 1000000; ++i) mif += "Point 116.5 39.75\r\n    Symbol (35,0,12)\r\n";
  WriteBytes(in / "big.mif", mif);
  WriteBytes(in / "big.mid", "");  // every point takes a generated name
  testing::ScriptedUi ui({in / "big.mif"});
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(RunToReceiverBatch(ui, out.Path().string()).converted, 1u);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
  // 499 in the first file, then 500 each: 2001 files, the last with one point.
  auto files = std::filesystem::directory_iterator(out.Path());
  EXPECT_EQ(std::distance(begin(files), end(files)), 2001);
  EXPECT_EQ(ReadBytes(out / "big2001.upt"), "$PZTJWPL,3945.000,N,11630.000,E,0000000,M,WPT1000000,,a*38\r\n");
}

}  // namespace
}  // namespace carteloom
