// The GDAL driver as GDAL's programs use it: ogrinfo and ogr2ogr with the
// plugin on GDAL_DRIVER_PATH, reading receiver files and writing them.
#include <gtest/gtest.h>

#include <filesystem>

#include <cpl_conv.h>
#include <cpl_vsi.h>
#include <gdal_utils.h>

#include "support/test_support.h"

namespace carteloom::testing {
namespace {

const std::string kData = std::string(CARTELOOM_TEST_DATA) + "/to_mif/";

// Runs a GDAL program with the plugin.
Ran Gdal(const std::string& arguments) { return Run("GDAL_DRIVER_PATH='" CARTELOOM_GDAL_DRIVER_DIR "' " + arguments); }

// A layer as CSV rows, the geometry first (X,Y for points, WKT for lines).
std::vector<std::string> Csv(const std::string& source, const std::string& layer, std::string* errors = nullptr,
                             const std::string& options = "") {
  const bool points = layer.find("point") != std::string::npos || layer == "waypoints";
  Ran run = Gdal("ogr2ogr -f CSV /vsistdout/ '" + source + "' " + layer + " -lco LINEFORMAT=CRLF -lco GEOMETRY=" +
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
// when ogrinfo opens it, and a sound one raises no warning (ogrinfo, as QGIS,
// asks for update first).
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
    const Ran opened = Gdal("ogrinfo -al -so '" + (dir / name) + "'");
    EXPECT_EQ(converted, taken ? 0 : 1) << shows;
    EXPECT_EQ(opened.status, taken ? 0 : 1) << shows;
    EXPECT_TRUE(!taken || opened.err.empty()) << shows << opened.err;
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
            (std::vector<std::string>{"X,Y,ele,name,cmt,sym", "116.508333333333,39.98539,0,WELL01,,a",
                                      "-70.5,-33.25,120,泉眼,spring,a", "116.391383333333,39.9075,-5,,,",
                                      "8.5,5.5,0,\"007\",,a"}));
  EXPECT_NE(errors.find("day.upt, line 4: the record ends after 3 of its 10 fields; skipped"), std::string::npos)
      << errors;
  EXPECT_NE(errors.find("line 5: the record ends after 7 of its 10 fields; read as far as it goes"), std::string::npos);
  EXPECT_EQ(errors.find("line 7"), std::string::npos) << "the end sentence is no damaged record";
  EXPECT_NE(Gdal("ogrinfo -ro -so '" + (dir / "day.upt") + "' waypoints").out.find("ID[\"EPSG\",4326]"),
            std::string::npos);
}

TEST_F(GdalDriver, ReadsTheTrackAndItsFixesAndRoutesDrawnAsTheMifConversionDrawsThem) {
  WriteBytes(dir / "walk.log", CrLf({"$PZTJTRK,3950.1230,N,11620.5000,E,0000050,M,080000,0,1,0*2D",
                                     "$PZTJTRK,0130.0000,S,00030.0000,W,0000051,M,080001,061226,1,0*2C",
                                     "$PZTJTRK,0130.0000,S,00030.0000,W,0000051,M,246000,061226,1,0*2C",
                                     "$PZTJCMD,END*3D"}));
  EXPECT_EQ(Csv(dir / "walk.log", "tracks", nullptr, "-oo LINES=YES"),
            (std::vector<std::string>{
                "WKT,name", "\"MULTILINESTRING Z ((116.341666666667 39.8353833333333 50,-0.5 -1.5 51,-0.5 -1.5 51))\",walk"}));
  EXPECT_EQ(Csv(dir / "walk.log", "track_points"),
            (std::vector<std::string>{"X,Y,track_fid,track_seg_id,track_seg_point_id,track_name,ele,time",
                                      "116.341666666667,39.8353833333333,\"1\",\"0\",\"0\",walk,50,",
                                      "-0.5,-1.5,\"1\",\"0\",\"1\",walk,51,2026/12/06 08:00:01+00",
                                      "-0.5,-1.5,\"1\",\"0\",\"2\",walk,51,"}));
  EXPECT_EQ(Csv(kData + "roads.rte", "routes", nullptr, "-oo LINES=YES"),
            (std::vector<std::string>{
                "WKT,name",
                "\"LINESTRING Z (116.391383333333 39.9075 -5,116.4 39.9166666666667 -5,116.420833333333 "
                "39.9416666666667 -5)\",ROAD1",
                "\"LINESTRING Z (121.5 31.0 -5,121.516666666667 31.0166666666667 -5)\",河堤路"}));
  std::vector<std::string> points = Csv(kData + "roads.rte", "route_points");
  ASSERT_EQ(points.size(), 6u);
  EXPECT_EQ(points[0], "X,Y,route_fid,route_point_id,route_name,ele,name,cmt,sym");
  EXPECT_EQ(points[5], "121.516666666667,31.0166666666667,\"2\",\"1\",河堤路,-5,WPT002_2,,a");
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
  Ran run = Gdal("ogr2ogr -f Trekvane '" + (dir / "gdal") + "' '" + (dir / "b.mif") + "'");
  ASSERT_EQ(run.status, 0) << run.err;
  for (std::string name : {"b.upt", "b2.upt", "b.rte"})
    EXPECT_EQ(ReadBytes(dir / ("gdal/" + name)), ReadBytes(dir / ("cli/" + name))) << name;
  EXPECT_EQ(Lines(ReadBytes(dir / "gdal/b2.upt")).size(), 101u);
}

// Points and lines from WGS 84, Web Mercator and CGCS2000 alike: names from
// the field called name (any case), heights from Z or from ele, in the
// altitude field's form; lines of several sections become several routes.
TEST_F(GdalDriver, WritesSourcesInWgs84WebMercatorAndCgcs2000WithTheirNamesAndHeights) {
  const std::string lon10 = "1168854.6533293725";  // 10.5 degrees east in EPSG:3857
  const struct { std::string srs, east, west; } systems[] = {
      {"", "10.5", "-10.5"}, {"EPSG:4490", "10.5", "-10.5"}, {"EPSG:3857", lon10, "-" + lon10}};
  for (const auto& [srs, east, west] : systems) {
    const std::string folder = dir / ("card" + srs.substr(srs.find(':') + 1));
    WriteBytes(dir / "mixed.geojson",
               GeoJson(srs, {{R"("id":1,"Name":"A😀B","altitude":"high")", R"({"type":"Point","coordinates":[)" + east + ",0,12.6]}"},
                             {R"("id":2,"Name":"两段","ele":-14.5)", R"({"type":"MultiLineString","coordinates":[[[0,0],[)" +
                                                                         east + ",0]],[[" + west + ",0],[0,0],[" + east + ",0]]]}"}}));
    Ran run = Gdal("ogr2ogr -f Trekvane '" + folder + "' '" + (dir / "mixed.geojson") + "'");
    ASSERT_EQ(run.status, 0) << srs << run.err;
    EXPECT_EQ(ReadBytes(folder + "/mixed.upt").rfind("$PZTJWPL,0000.000,N,01030.000,E,0000013,M,A?B,,a*", 0), 0u)
        << srs;
    EXPECT_NE(run.err.find("mixed: 1 names held characters that GBK cannot hold"), std::string::npos) << run.err;
    std::vector<std::string> routes = Lines(ReadBytes(folder + "/mixed.rte"));
    ASSERT_EQ(routes.size(), 5u + 3u + 1u) << srs;
    EXPECT_EQ(routes[2].rfind("$PZTJWPL,0000.000,N,01030.000,W,-000015,M,WPT001_2,,a*", 0), 0u) << srs;
    EXPECT_EQ(routes[6].rfind("$PZTJRTE,2,1,c,1,\xC1\xBD\xB6\xCE,WPT001_2,a,WPT002_2,a*", 0), 0u) << srs;
  }
  // Names from another field; metres (the last layer's) taken for degrees are refused.
  ASSERT_EQ(Gdal("ogr2ogr -f Trekvane '" + (dir / "ids") + "' '" + (dir / "mixed.geojson") + "' -lco NAME_FIELD=id").status, 0);
  EXPECT_NE(ReadBytes(dir / "ids/mixed.upt").find(",M,1,,a*"), std::string::npos);
  Ran run = Gdal("ogr2ogr -f Trekvane -a_srs EPSG:4326 '" + (dir / "metres") + "' '" + (dir / "mixed.geojson") + "'");
  EXPECT_NE(run.err.find("feature 1 is not written: longitude 1168854.65"), std::string::npos) << run.err;
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path() / "metres"));
}

// ogr2ogr's ways: a refused feature is skipped with a warning under
// -skipfailures, and otherwise the run writes nothing at all; an empty layer
// is named in a warning.
TEST_F(GdalDriver, SkipsRefusedFeaturesOnlyWhenToldAndAFailedRunWritesNothing) {
  WriteBytes(dir / "area.geojson", GeoJson("", {{R"("n":"P")", R"({"type":"Point","coordinates":[0,0]})"},
                                                {R"("n":"R")", R"({"type":"Polygon","coordinates":[[[0,0],[1,0],[1,1],[0,0]]]})"},
                                                {R"("n":"L")", R"({"type":"LineString","coordinates":[[0,0],[1,1]]})"}}));
  Ran run = Gdal("ogr2ogr -f Trekvane '" + (dir / "area") + "' '" + (dir / "area.geojson") + "'");
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.err.find("feature 2 is not written: a Polygon cannot become waypoints or routes"), std::string::npos)
      << run.err;
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path() / "area"));
  run = Gdal("ogr2ogr -skipfailures -f Trekvane '" + (dir / "skip") + "' '" + (dir / "area.geojson") + "'");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.err.find("Warning 6: Layer area, feature 2 is not written"), std::string::npos) << run.err;
  EXPECT_EQ(Lines(ReadBytes(dir / "skip/area.upt")).size(), 1u);
  EXPECT_EQ(Lines(ReadBytes(dir / "skip/area.rte")).size(), 4u);
  // One file takes one layer: a second one fails the run, and the first is not written either.
  std::filesystem::create_directory(dir.Path() / "one");
  WriteBytes(dir / "one/x.rte", "old");
  EXPECT_NE(Gdal("ogr2ogr -f Trekvane '" + (dir / "one/x.rte") + "' '" + kData + "roads.rte' -oo LINES=YES").status, 0);
  EXPECT_EQ(dir.Names().size(), 4u);
  EXPECT_EQ(ReadBytes(dir / "one/x.rte"), "old");
  // Messages in English name the file.
  run = Gdal("ogr2ogr -f Trekvane '" + (dir / "area.geojson/card") + "' '" + (dir / "area.geojson") + "'");
  EXPECT_NE(run.err.find((dir / "area.geojson/card") + ": Not a directory"), std::string::npos) << run.err;
  run = Gdal("ogr2ogr -f Trekvane '" + (dir / "none") + "' '" + (dir / "area.geojson") + "' -where \"n='Q'\"");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.err.find("Layer area is empty"), std::string::npos) << run.err;
}

// GPX both ways with ogr2ogr alone: a log gives one track whose points have
// their heights and, where the records hold the date, their time; a route
// file one route per route. A GPX file gives one waypoint file and one route
// file, its routes and tracks, named after it.
TEST_F(GdalDriver, WritesGpxAndReadsIt) {
  ASSERT_EQ(Gdal("ogr2ogr -f GPX '" + (dir / "day1.gpx") + "' '" + kData + "day1.log'").status, 0);
  const std::string track = ReadBytes(dir / "day1.gpx");
  auto count = [](const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count(track, "<trk>"), 1u);
  EXPECT_EQ(count(track, "<trkpt "), count(track, "<ele>50.0</ele>"));
  EXPECT_GT(count(track, "<trkpt "), 1u);
  ASSERT_EQ(Gdal("ogr2ogr -f GPX '" + (dir / "roads.gpx") + "' '" + kData + "roads.rte'").status, 0);
  const std::string routes = ReadBytes(dir / "roads.gpx");
  EXPECT_EQ(count(routes, "<rte>"), 2u);
  EXPECT_NE(routes.find("<rte>\n  <name>河堤路</name>"), std::string::npos) << routes;

  WriteBytes(dir / "trip.gpx", R"(<?xml version="1.0"?><gpx version="1.1" creator="x" xmlns="http://www.topografix.com/GPX/1/1">
<wpt lat="39.9" lon="116.3"><ele>50</ele><name>W1</name></wpt>
<rte><name>R1</name><rtept lat="39.9" lon="116.3"/><rtept lat="39.8" lon="116.2"/></rte>
<trk><name>T1</name><trkseg><trkpt lat="39.9" lon="116.3"/><trkpt lat="39.8" lon="116.4"/></trkseg></trk></gpx>)");
  Ran run = Gdal("ogr2ogr -f Trekvane '" + (dir / "card") + "' '" + (dir / "trip.gpx") + "'");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(count(run.err, "Warning"), 1u) << run.err;
  EXPECT_NE(run.err.find("route_points and track_points skipped"), std::string::npos) << run.err;
  EXPECT_EQ(ReadBytes(dir / "card/trip.upt"), "$PZTJWPL,3954.000,N,11618.000,E,0000050,M,W1,,a*33\r\n");
  const std::vector<std::string> lines = Lines(ReadBytes(dir / "card/trip.rte"));
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[4], "$PZTJRTE,1,1,c,1,R1,WPT001_1,a,WPT002_1,a*49");
  EXPECT_EQ(lines[5], "$PZTJRTE,1,1,c,1,T1,WPT001_2,a,WPT002_2,a*4F");
}

// GDAL's virtual files: a zipped file, a file served over HTTP, a folder in a
// zip written and read back.
TEST_F(GdalDriver, ReadsAndWritesThroughGdalsVirtualFiles) {
  auto features = [](const std::string& path) {
    const Ran run = Gdal("ogrinfo -ro -al -so '" + path + "'");
    const std::size_t at = run.out.find("Feature Count: ");
    return at == std::string::npos ? run.err : run.out.substr(at + 15, run.out.find('\n', at) - at - 15);
  };
  std::filesystem::copy_file(kData + "wells.upt", dir / "wells.upt");
  ASSERT_EQ(RunCommand("cd '" + dir.Path().string() +
                       "' && python3 -c \"import zipfile; zipfile.ZipFile('w.zip', 'w').write('wells.upt')\""), 0);
  EXPECT_EQ(features(dir / "wells.upt"), "3");
  EXPECT_EQ(features("/vsizip/" + (dir / "w.zip") + "/wells.upt"), "3");
  // A server on a free port of this machine, for as long as the test needs it.
  ASSERT_EQ(RunCommand("cd '" + dir.Path().string() + "' && (python3 -c \"import http.server as h, os; "
                       "s = h.ThreadingHTTPServer(('127.0.0.1', 0), h.SimpleHTTPRequestHandler); "
                       "open('port.tmp', 'w').write(str(s.server_port)); os.rename('port.tmp', 'port'); "
                       "s.serve_forever()\" >/dev/null 2>&1 & echo $! > server.pid)"), 0);
  for (int i = 0; i < 100 && !std::filesystem::exists(dir.Path() / "port"); ++i) RunCommand("sleep 0.1");
  const std::string served = features("/vsicurl/http://127.0.0.1:" + ReadBytes(dir / "port") + "/wells.upt");
  RunCommand("kill $(cat '" + (dir / "server.pid") + "')");
  EXPECT_EQ(served, "3");
  ASSERT_EQ(Gdal("ogr2ogr -f Trekvane '/vsizip/" + (dir / "card.zip") + "/card' '" + (dir / "wells.upt") + "'").status, 0);
  EXPECT_EQ(features("/vsizip/" + (dir / "card.zip") + "/card/waypoints.upt"), "3");
}

// In this process, through GDAL's API: a file in memory (/vsimem/) read,
// and written into memory as into a folder.
TEST(GdalDriverInProcess, ReadsAndWritesFilesInMemory) {
  CPLSetConfigOption("GDAL_DRIVER_PATH", CARTELOOM_GDAL_DRIVER_DIR);
  GDALAllRegister();
  std::string bytes = ReadBytes(kData + "wells.upt");
  VSIFCloseL(VSIFileFromMemBuffer("/vsimem/wells.upt", reinterpret_cast<GByte*>(bytes.data()), bytes.size(), FALSE));
  GDALDatasetH source = GDALOpenEx("/vsimem/wells.upt", GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
  ASSERT_NE(source, nullptr);
  ScratchFolder dir;
  const char* options[] = {"-f", "Trekvane", nullptr};
  GDALVectorTranslateOptions* translate = GDALVectorTranslateOptionsNew(const_cast<char**>(options), nullptr);
  for (const std::string& folder : {std::string("/vsimem/card"), dir / "card"})
    GDALClose(GDALVectorTranslate(folder.c_str(), nullptr, 1, &source, translate, nullptr));
  GDALVectorTranslateOptionsFree(translate);
  GDALClose(source);
  vsi_l_offset size = 0;
  GByte* written = VSIGetMemFileBuffer("/vsimem/card/waypoints.upt", &size, FALSE);
  ASSERT_NE(written, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(written), size), ReadBytes(dir / "card/waypoints.upt"));
  EXPECT_EQ(Lines(ReadBytes(dir / "card/waypoints.upt")).size(), 3u);
}

}  // namespace
}  // namespace carteloom::testing
