// The GDAL driver as GDAL's programs use it: ogrinfo and ogr2ogr with the
// plugin on GDAL_DRIVER_PATH, reading receiver files and writing them.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_support.h"

namespace carteloom::testing {
namespace {

const std::string kData = std::string(CARTELOOM_TEST_DATA) + "/to_mif/";

// Runs a GDAL program with the plugin; its exit status, stdout and stderr.
struct GdalRun {
  int status;
  std::string out, err;
};
GdalRun Gdal(const std::string& arguments) {
  ScratchFolder scratch;
  GdalRun run;
  run.status = RunCommand("GDAL_DRIVER_PATH='" CARTELOOM_GDAL_DRIVER_DIR "' " + arguments + " >'" +
                          (scratch / "out") + "' 2>'" + (scratch / "err") + "'");
  run.out = ReadBytes(scratch / "out");
  run.err = ReadBytes(scratch / "err");
  return run;
}

// A layer as CSV rows, the geometry first (X,Y for points, WKT for lines).
std::vector<std::string> Csv(const std::string& source, const std::string& layer, std::string* errors = nullptr,
                             const std::string& options = "") {
  const bool points = layer.find("point") != std::string::npos || layer == "waypoints";
  GdalRun run = Gdal("ogr2ogr -f CSV /vsistdout/ '" + source + "' " + layer + " -lco LINEFORMAT=CRLF -lco GEOMETRY=" +
                 (points ? "AS_XY " : "AS_WKT ") + options);
  EXPECT_EQ(run.status, 0) << run.err;
  if (errors != nullptr) *errors = run.err;
  return Lines(run.out);
}

class GdalDriver : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_POSIX_SHELL();
    if (!HaveGdal()) GTEST_SKIP() << "ogrinfo is not installed";
  }
  ScratchFolder dir;
};

// One rule for the command line and the driver: a file is converted exactly
// when ogrinfo opens it, and a sound one raises no warning.
TEST_F(GdalDriver, OpensTheFilesTheCommandLineConverts) {
  const std::string point = "$PZTJWPL,3954.450,N,11623.483,E,0000000,M,WELL01,,a*45\r\n";
  const std::string fix = "$PZTJTRK,3954.1230,N,11623.5000,E,0000050,M,080000,0,1,0*12\r\n";
  const struct { const char* shows; std::string name, bytes; bool taken; } cases[] = {
      {"a waypoint file", "a.upt", point, true},
      {"an upper-case suffix", "B2.UPT", point, true},
      {"a suffix in mixed case", "c.Log", fix, true},
      {"a blank first line", "d.rte", "\r\n" + point, true},
      {"blanks and blank lines before the first record", "e.upt", " \t\r\n\n  " + point, true},
      {"an empty file", "f.upt", "", true},
      {"blank lines only", "g.upt", "\r\n\r\n", false},
      {"text before the first record", "h.upt", "Waypoints\r\n" + point, false},
      {"junk", "i.log", std::string(3000, '\x9C'), false},
      {"another suffix", "j.txt", point, false}};
  for (const auto& [shows, name, bytes, taken] : cases) {
    WriteBytes(dir / name, bytes);
    const int converted = RunCommand("'" CARTELOOM_CLI "' to-mif -o '" + dir.Path().string() + "' '" + (dir / name) +
                                     "' >/dev/null 2>&1");
    const GdalRun opened = Gdal("ogrinfo -ro -al -so '" + (dir / name) + "'");
    EXPECT_EQ(converted, taken ? 0 : 1) << shows;
    EXPECT_EQ(opened.status, taken ? 0 : 1) << shows;
    if (taken) {
      EXPECT_EQ(opened.err, "") << shows;
    }
  }
}

TEST_F(GdalDriver, ReadsWaypointsWithTheirFieldsSignsAndNamesAndSkipsDamagedRecords) {
  WriteBytes(dir / "day.upt", CrLf({"$PZTJFMT,WGS84,DDMM.MMM*67",
                                    "$PZTJWPL,3959.1234,N,11630.5000,E,0000000,M,WELL01,,a*45",
                                    "$PZTJWPL,3315.000,S,07030.000,W,0000120,M,\xC8\xAA\xD1\xDB,spring,a*33",
                                    "$PZTJWPL,3954.450,N", "$PZTJWPL,3954.450,N,11623.483,E,-000005,M",
                                    "$PZTJWPL,0530.000,N,00830.000,E,0000000,M,007,,a*45", "$PZTJCMD,END*3D"}));
  std::string errors;
  EXPECT_EQ(Csv(dir / "day.upt", "waypoints", &errors),
            (std::vector<std::string>{"X,Y,name,altitude,altitude_unit,comment,symbol",
                                      "116.508333333333,39.98539,WELL01,0,M,,a", "-70.5,-33.25,泉眼,120,M,spring,a",
                                      "116.391383333333,39.9075,,-5,M,,", "8.5,5.5,\"007\",0,M,,a"}));
  EXPECT_NE(errors.find("day.upt, line 4: the record ends after 3 of its 10 fields; skipped"), std::string::npos)
      << errors;
  EXPECT_NE(errors.find("line 5: the record ends after 7 of its 10 fields; read as far as it goes"), std::string::npos);
  EXPECT_EQ(errors.find("line 7"), std::string::npos) << "the end sentence is no damaged record";
  EXPECT_NE(Gdal("ogrinfo -ro -so '" + (dir / "day.upt") + "' waypoints").out.find("ID[\"EPSG\",4326]"),
            std::string::npos);
}

TEST_F(GdalDriver, ReadsTheTrackAndItsFixesAndRoutesDrawnAsTheMifConversionDrawsThem) {
  WriteBytes(dir / "walk.log", CrLf({"$PZTJTRK,3950.1230,N,11620.5000,E,0000050,M,080000,0,1,0*2D",
                                     "$PZTJTRK,0130.0000,S,00030.0000,W,0000051,M,080001,0,1,0*2C", "$PZTJCMD,END*3D"}));
  EXPECT_EQ(Csv(dir / "walk.log", "track"),
            (std::vector<std::string>{"WKT,name,fixes",
                                      "\"LINESTRING (116.341666666667 39.8353833333333,-0.5 -1.5)\",walk,\"2\""}));
  EXPECT_EQ(Csv(dir / "walk.log", "track_points")[2], "-0.5,-1.5,51,M,\"080001\",\"0\",\"1\",\"0\"");
  EXPECT_EQ(Csv(kData + "roads.rte", "routes"),
            (std::vector<std::string>{
                "WKT,name,waypoints",
                "\"LINESTRING (116.391383333333 39.9075,116.4 39.9166666666667,116.420833333333 39.9416666666667)\","
                "ROAD1,\"3\"",
                "\"LINESTRING (121.5 31.0,121.516666666667 31.0166666666667)\",河堤路,\"2\""}));
  std::vector<std::string> points = Csv(kData + "roads.rte", "route_points");
  ASSERT_EQ(points.size(), 6u);
  EXPECT_EQ(points[0], "X,Y,name,altitude,altitude_unit,comment,symbol,route");
  EXPECT_EQ(points[5], "121.516666666667,31.0166666666667,WPT002_2,-5,M,,a,河堤路");
}

// The same points and lines through the command line and through ogr2ogr
// give the same bytes: 600 points split 499 + 101, a line of two sections.
TEST_F(GdalDriver, WritesWhatTheCommandLineWritesFromTheSameMif) {
  std::string mif = "Version 300\nCharset \"WindowsSimpChinese\"\nDelimiter \",\"\nCoordSys Earth Projection 1, 104\n"
                    "Columns 1\n  Name Char(20)\nData\n";
  std::string mid;
  for (int i = 0; i < 600; ++i) {
    mif += "Point " + std::to_string(100 + i * 0.01) + " " + std::to_string(i % 2 ? -30 - i * 0.001 : 30) + "\n";
    mid += i == 7 ? "\xC8\xAA\xD1\xDB\r\n" : "W" + std::to_string(i) + "\r\n";
  }
  mif += "Pline Multiple 2\n  2\n116 39\n116.5 39.5\n  3\n-117 40\n117.5 -40.5\n118 41\n    Pen (2,2,0)\n";
  mid += "ROAD\r\n";
  WriteBytes(dir / "b.mif", mif);
  WriteBytes(dir / "b.mid", mid);
  std::filesystem::create_directories(dir.Path() / "cli");
  ASSERT_EQ(RunCommand("'" CARTELOOM_CLI "' to-receiver -o '" + (dir / "cli") + "' '" + (dir / "b.mif") + "' >/dev/null"), 0);
  GdalRun run = Gdal("ogr2ogr -f Trekvane '" + (dir / "gdal") + "' '" + (dir / "b.mif") + "'");
  ASSERT_EQ(run.status, 0) << run.err;
  for (std::string name : {"b.upt", "b2.upt", "b.rte"})
    EXPECT_EQ(ReadBytes(dir / ("gdal/" + name)), ReadBytes(dir / ("cli/" + name))) << name;
  EXPECT_EQ(Lines(ReadBytes(dir / "gdal/b2.upt")).size(), 101u);
}

TEST_F(GdalDriver, WritesProjectedSourcesInWgs84AndRefusesPolygonsWritingNothing) {
  const std::string feature = R"({"type":"Feature","properties":{"id":1,"name":"%s"},"geometry":%s})";
  auto layer = [&](std::vector<std::pair<std::string, std::string>> features) {
    std::string text = R"({"type":"FeatureCollection","crs":{"type":"name","properties":{"name":"EPSG:3857"}},"features":[)";
    for (const auto& [name, geometry] : features) {
      std::string f = feature;
      text += f.replace(f.find("%s"), 2, name).replace(f.find("%s"), 2, geometry) + ",";
    }
    return text.substr(0, text.size() - 1) + "]}";
  };
  const std::string lon90 = "1168854.6533293725";  // 10.5 degrees east
  WriteBytes(dir / "mixed.geojson",
             layer({{"A😀B", R"({"type":"Point","coordinates":[)" + lon90 + ",0]}"},
                    {"两段", R"({"type":"MultiLineString","coordinates":[[[0,0],[)" + lon90 + R"(,0]],[[-)" + lon90 +
                                 ",0],[0,0],[" + lon90 + ",0]]]}"}}));
  GdalRun run = Gdal("ogr2ogr -f Trekvane '" + (dir / "card") + "' '" + (dir / "mixed.geojson") + "'");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadBytes(dir / "card/mixed.upt").rfind("$PZTJWPL,0000.000,N,01030.000,E,0000000,M,A?B,,a*", 0), 0u);
  EXPECT_NE(run.err.find("mixed: 1 names held characters that GBK cannot hold"), std::string::npos) << run.err;
  std::vector<std::string> routes = Lines(ReadBytes(dir / "card/mixed.rte"));
  ASSERT_EQ(routes.size(), 5u + 3u + 1u);
  EXPECT_EQ(routes[2].rfind("$PZTJWPL,0000.000,N,01030.000,W,-000005,M,WPT001_2,,a*", 0), 0u);
  EXPECT_EQ(routes[6].rfind("$PZTJRTE,2,1,c,1,\xC1\xBD\xB6\xCE,WPT001_2,a,WPT002_2,a*", 0), 0u);
  // Names from another field; metres taken for degrees are refused.
  ASSERT_EQ(Gdal("ogr2ogr -f Trekvane '" + (dir / "ids") + "' '" + (dir / "mixed.geojson") + "' -lco NAME_FIELD=id").status, 0);
  EXPECT_NE(ReadBytes(dir / "ids/mixed.upt").find(",M,1,,a*"), std::string::npos);
  run = Gdal("ogr2ogr -f Trekvane -a_srs EPSG:4326 '" + (dir / "metres") + "' '" + (dir / "mixed.geojson") + "'");
  EXPECT_NE(run.err.find("feature 1: longitude 1168854.65"), std::string::npos) << run.err;
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path() / "metres"));

  WriteBytes(dir / "area.geojson", layer({{"P", R"({"type":"Point","coordinates":[0,0]})"},
                                          {"R", R"({"type":"Polygon","coordinates":[[[0,0],[1,0],[1,1],[0,0]]]})"}}));
  run = Gdal("ogr2ogr -f Trekvane '" + (dir / "area") + "' '" + (dir / "area.geojson") + "'");
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.err.find("feature 2: a Polygon cannot become waypoints or routes"), std::string::npos) << run.err;
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path() / "area"));
}

}  // namespace
}  // namespace carteloom::testing
