#include "to_mif/run_converter.h"

#include <gtest/gtest.h>

#include "formats/output_file.h"
#include "support/test_support.h"
#include "to_mif/converters.h"

namespace carteloom::testing {

Converted RunConverter(Kind kind, const std::string& source, const std::string& fileName) {
  ScratchFolder folder;
  std::string path = folder / fileName;
  WriteBytes(path, source);
  {
    FieldReader reader(path);
    OutputFile mif(folder / "out.mif");
    OutputFile mid(folder / "out.mid");
    MifOutputs out{mif, mid};
    switch (kind) {
      case Kind::Waypoints: ConvertWaypointFile(reader, out); break;
      case Kind::TrackLog: ConvertTrackLog(path, reader, out); break;
      case Kind::Routes: ConvertRouteFile(reader, out); break;
    }
    mif.Commit();
    mid.Commit();
  }
  return {ReadBytes(folder / "out.mif"), ReadBytes(folder / "out.mid")};
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "the last line does not end in CR LF";
  return lines;
}

std::vector<std::string> DataLines(const std::string& mif) {
  static const std::vector<std::string> kHeader{
      "Version 300", "Charset \"Neutral\"", "Delimiter \",\"",
      "CoordSys Earth Projection 1, 104 Bounds (76.74848, 18.23792) (131.1559, 50.24493)", "Columns 1",
      "Comment Char(20)", "Data"};
  std::vector<std::string> lines = Lines(mif);
  auto data = lines.begin() + static_cast<std::ptrdiff_t>(std::min(kHeader.size(), lines.size()));
  EXPECT_EQ(std::vector<std::string>(lines.begin(), data), kHeader);
  return {data, lines.end()};
}

void ExpectConsistentPair(const Converted& out) {
  std::vector<std::string> lines = DataLines(out.mif);
  std::size_t objects = 0;
  for (std::size_t i = 0; i < lines.size(); ++objects) {
    const std::string& line = lines[i];
    if (line.rfind("Point ", 0) == 0) {
      ASSERT_LT(i + 1, lines.size());
      EXPECT_EQ(lines[i + 1], "Symbol (32,0,9)");
      i += 2;
    } else if (line == "None") {
      ++i;
    } else if (line.rfind("Pline ", 0) == 0) {
      std::size_t count = std::stoul(line.substr(6));
      std::size_t vertices = 0;
      for (++i; i < lines.size() && lines[i].find("Pen (2,2,0)") == std::string::npos; ++i) ++vertices;
      EXPECT_EQ(vertices, count) << line;
      EXPECT_GE(count, 2u) << "GDAL refuses a Pline of fewer vertices";
      ASSERT_LT(i, lines.size()) << "no pen clause after " << line;
      ++i;
    } else {
      FAIL() << "unexpected MIF line: " << line;
    }
  }
  EXPECT_EQ(Lines(out.mid).size(), objects);
}

}  // namespace carteloom::testing
