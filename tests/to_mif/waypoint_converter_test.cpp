#include <gtest/gtest.h>

#include <optional>

#include "formats/file_error.h"
#include "formats/output_file.h"
#include "support/test_support.h"
#include "to_mif/converters.h"
#include "to_mif/run_converter.h"

namespace carteloom::testing {
namespace {

using Strings = std::vector<std::string>;

std::string Wpl(const std::string& lat, const std::string& ns, const std::string& lon, const std::string& ew,
                const std::string& name) {
  return "$PZTJWPL," + lat + "," + ns + "," + lon + "," + ew + ",0000000,M," + name + ",,a*45";
}

TEST(WaypointConverter, WritesThePointsAndNamesOfAWellFormedFile) {
  Converted out = RunConverter(Kind::Waypoints, CrLf({"$PZTJFMT,WGS84,DDMM.MMM",
                                                      Wpl("3959.1234", "N", "11630.5000", "E", "WELL01"),
                                                      Wpl("0530.0000", "N", "00830.0000", "E", "007"),
                                                      Wpl("3100.0000", "N", "12130.0000", "E", ""),
                                                      "$PZTJCMD,END*3D"}));
  EXPECT_EQ(DataLines(out.mif), (Strings{"Point  116.508333333333  39.98539", "Symbol (32,0,9)", "Point  8.5  5.5",
                                         "Symbol (32,0,9)", "Point  121.5  31", "Symbol (32,0,9)"}));
  EXPECT_EQ(out.mid, CrLf({"WELL01", "007", ""}));
}

TEST(WaypointConverter, HemispheresAndRecordsCutShort) {
  // S with the longitude letter cut off, then W at the end of a record cut after field 6: each keeps its row.
  Converted out = RunConverter(Kind::Waypoints, CrLf({"$PZTJWPL,3959.1234,S,11630.5000",
                                                      Wpl("3100.0000", "N", "12130.0000", "E", "B"),
                                                      "$PZTJWPL,3100.0000,N,12130.0000,W,0000000"}));
  EXPECT_EQ(DataLines(out.mif), (Strings{"Point  116.508333333333 -39.98539", "Symbol (32,0,9)",
                                         "Point  121.5  31", "Symbol (32,0,9)",
                                         "Point -121.5  31", "Symbol (32,0,9)"}));
  EXPECT_EQ(out.mid, CrLf({"", "B", ""}));
}

TEST(WaypointConverter, RowsStayWithTheirPointsOverManyThousands) {
  // Every fifth record is cut short before its name, wherever the work is handed on in blocks.
  std::vector<std::string> lines;
  std::vector<std::string> rows;
  for (int i = 0; i < 30000; ++i) {
    std::string name("W");
    name += std::to_string(i);
    lines.push_back(i % 5 == 4 ? "$PZTJWPL,3100.0000,N,12130.0000,E,0000000" : Wpl("3100.0000", "N", "12130.0000", "E", name));
    rows.push_back(i % 5 == 4 ? "" : name);
  }
  Converted out = RunConverter(Kind::Waypoints, CrLf(lines));
  ExpectConsistentPair(out);
  EXPECT_EQ(out.mid, CrLf(rows));
}

TEST(WaypointConverter, AFileThatCannotBeReadStopsTheConversion) {
  // A folder opens as a file on POSIX systems; reading it then fails.
  ScratchFolder folder;
  std::string path = folder.Path().string();
  std::optional<FieldReader> reader;
  try {
    reader.emplace(path);
  } catch (const FileError&) {
    GTEST_SKIP() << "a folder cannot be opened as a file here";
  }
  OutputFile mif(folder / "out.mif");
  OutputFile mid(folder / "out.mid");
  EXPECT_THROW(ConvertWaypointFile(*reader, MifOutputs{mif, mid}), FileError);
}

TEST(ToMifConverters, FilesWithoutObjectsGiveTheHeaderAlone) {
  const std::vector<std::pair<Kind, std::string>> cases{
      {Kind::Waypoints, CrLf({"$PZTJFMT,WGS84", "$PZTJCMD,END*3D"})},
      {Kind::TrackLog, ""},
      {Kind::TrackLog, CrLf({"$PZTJFMT,a,b,c,d,e,f,g,h,i,j", "$PZTJCMD,END*3D"})},
      {Kind::Routes, CrLf({Wpl("3959.1234", "N", "11630.5000", "E", "A"), "$PZTJCMD,END*3D"})},
  };
  for (const auto& [kind, source] : cases) {
    Converted out = RunConverter(kind, source);
    EXPECT_TRUE(DataLines(out.mif).empty()) << source;
    EXPECT_EQ(out.mid, "") << source;
  }
}

}  // namespace
}  // namespace carteloom::testing
