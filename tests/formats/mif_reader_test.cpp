// The MIF header clauses and the objects of the data section.
#include <gtest/gtest.h>

#include <cstdio>

#include "formats/mif_reader.h"
#include "support/test_support.h"

namespace carteloom {
namespace {

using testing::CrLf;
using Lines = std::vector<std::string>;

// What the layer holds ("PL"); each object as its points ("P1 2") and its line
// sections ("1 2 3 4 |"); then the skipped objects by kind and the object count.
Lines Objects(const std::vector<std::string>& data) {
  MifScanner scanner(CrLf({"Version 300", "Columns 2", "  PointName Char(20)", "  Data Char(5)", "Data"}) + CrLf(data));
  const MifLayerContents contents = scanner.Contents();
  Lines out{std::string(contents.points ? "P" : "") + (contents.lines ? "L" : "")};
  char b[64];
  for (MifObject o; scanner.Next(o);) {
    out.emplace_back();
    for (const MifVertex& v : o.points) out.back().append(b, std::snprintf(b, 64, "P%g %g ", v.x, v.y));
    for (std::size_t s = 0, v = 0; s < o.sectionEnds.size(); ++s, out.back() += "|")
      for (; v < o.sectionEnds[s]; ++v) out.back().append(b, std::snprintf(b, 64, "%g %g ", o.vertices[v].x, o.vertices[v].y));
  }
  out.emplace_back("skipped");
  for (std::uint64_t count : scanner.Skipped()) out.back().append(" ").append(std::to_string(count));
  out.back().append(" of ").append(std::to_string(scanner.ObjectNumber()));
  return out;
}

TEST(MifScanner, ObjectsByTheKeywordOfTheirLine) {
  // A Text object's string is no Point; a missing coordinate reads as 0; a count beyond its vertices ends with them.
  EXPECT_EQ(Objects({"POINT 116.5  39.75", "    Symbol (35,0,12)", "Region 1", "  3", "1 1", "2 2", "1 1",
                     "point   -70.25 -33.5", "Text", "    \"Point here\"", "  1 2 3 4", "NONE", "Multipoint 3",
                     "1 2 3 4", "5 6", "Arc 1 2 3 4", "Ellipse 1 2 3 4", "Rect 1 2 3 4", "RoundRect 1 2 3 4", "  1",
                     "Point +1.5e1 2E-1", "Point east north", "Point 116.39139", "Collection 3", "  Region 1", "    2",
                     "1 1", "2 2", "  Pline Multiple 2", "    1", "1 2", "    2", "3 4", "5 6", "  Multipoint 2", "7 8",
                     "9 10", "Collection 0", "Collection 2", "  Line 1 2 3 4", "  Text \"x\"", "Pline 3", "116 39",
                     "  116.5 39.5", "\t117 40", "    Pen (1,2,0)", "PLINE", "  1", "2.5E-01 -2e1", "pline 5", "1 2",
                     "    Pen (1,2,0)", "Pline 0", "Pline -3", "1 2"}),
            (Lines{"PL", "P116.5 39.75 ", "", "P-70.25 -33.5 ", "", "", "P1 2 P3 4 P5 6 ", "", "", "", "", "P15 0.2 ",
                   "P0 0 ", "P116.391 0 ", "P7 8 P9 10 1 2 |3 4 5 6 |", "", "1 2 3 4 |", "116 39 116.5 39.5 117 40 |",
                   "0.25 -20 |", "1 2 |", "|", "|", "skipped 2 1 1 1 1 2 1 of 21"}));
  EXPECT_EQ(Objects({"Region 1", "  1", "1 1", "Text \"Point\"", "None", "Region 1 Point Pline"}),
            (Lines{"", "", "", "", "", "skipped 2 0 0 0 0 1 1 of 4"}));
}

TEST(MifScanner, HeaderClauses) {
  auto header = [](const std::string& text) {
    MifScanner scanner(text);
    return std::string(scanner.DeclaresWgs84() ? "WGS84 " : "") + scanner.Delimiter() + std::string(scanner.Charset());
  };
  // The WGS84 clause by its words in any case, over blanks and line breaks; a damaged clause hides no later line.
  for (const char* clause : {"CoordSys Earth Projection 1, 104", "Coordsys Earth\r\n  Projection 1, 104 Bounds (1, 2)",
                             "COORDSYS EARTH PROJECTION 1,104", "CoordSys  Earth \n Projection \r\n 1 ,\r\n  104"})
    EXPECT_EQ(header(clause + std::string("\r\nData\r\n")), "WGS84 \t") << clause;
  for (const char* clause : {"CoordSys Earth Projection 1, 1041", "CoordSys Earth Projection 1, 104.5",
                             "CoordSys Earth Projection 12, 104", "CoordSys Earth Projection 1 104", "Projection 1, 104",
                             "CoordSys Earth Projection 8, 104, \"m\", 3", "CoordSys NonEarth", "CoordSys Earth Projection 1,"})
    EXPECT_EQ(header(CrLf({clause, "Delimiter \";\"", "charset  \"UTF-8\"  ", "Data"})), ";UTF-8") << clause;
  EXPECT_EQ(header("Version 300\nCharset WindowsLatin1\nData\nCoordSys Earth Projection 1, 104\n"), "\tWindowsLatin1");
}

}  // namespace
}  // namespace carteloom
