#include <gtest/gtest.h>

#include "formats/mid_reader.h"
#include "formats/mif_reader.h"
#include "mif_samples.h"

namespace carteloom {
namespace {

using testing::CrLf;
using testing::MifText;

// Each object as its points and its line sections: "P(1 2,3 4)L(1 2,3 4)(5 6)",
// "O" for an object that holds neither.
std::vector<std::string> Objects(const std::string& text) {
  MifScanner scanner(text);
  MifObject o;
  std::vector<std::string> out;
  auto list = [](const std::vector<MifVertex>& vertices, std::size_t begin, std::size_t end) {
    std::string item = "(";
    for (std::size_t v = begin; v < end; ++v)
      item.append(v > begin ? "," : "")
          .append(std::to_string(static_cast<int>(vertices[v].x * 100)))
          .append(" ")
          .append(std::to_string(static_cast<int>(vertices[v].y * 100)));
    return item + ")";
  };
  while (scanner.Next(o)) {
    std::string item;
    if (!o.points.empty()) item += "P" + list(o.points, 0, o.points.size());
    if (!o.sectionEnds.empty()) item += "L";
    for (std::size_t s = 0, start = 0; s < o.sectionEnds.size(); start = o.sectionEnds[s++])
      item += list(o.vertices, start, o.sectionEnds[s]);
    out.push_back(item.empty() ? "O" : item);
  }
  return out;
}

TEST(MifScanner, ObjectsComeFromTheDataSectionByTheKeywordOfTheirLine) {
  std::string text = CrLf({"Version 300", "Delimiter \";\"", "Columns 3", "  PointName Char(20)", "  Data Char(5)",
                           "  Pline Integer", "DATA", "", "POINT 116.5  39.75", "    Symbol (35,0,12)", "Region 1",
                           "  3", "1 1", "2 2", "1 1", "point   -70.25 -33.5", "Text", "    \"Point here\"",
                           "  1 2 3 4", "NONE", "Multipoint 3", "1 2 3 4", "5 6", "  Point 1 2"});
  EXPECT_EQ(Objects(text), (std::vector<std::string>{"P(11650 3975)", "O", "P(-7025 -3350)", "O", "O",
                                                     "P(100 200,300 400,500 600)", "P(100 200)"}));
  MifScanner scanner(text);
  EXPECT_EQ(scanner.Delimiter(), ';');
  EXPECT_EQ(MifScanner("Data\n").Delimiter(), '\t');
  MifObject o;
  while (scanner.Next(o)) {
  }
  EXPECT_EQ(scanner.Skipped(), (MifSkippedCounts{1, 0, 0, 0, 0, 1, 1}));
  EXPECT_EQ(scanner.ObjectNumber(), 7u);
}

TEST(MifScanner, ACollectionIsOneObjectOfAllItsParts) {
  std::string text = MifText({"Collection 3", "  Region 1", "    2", "1 1", "2 2", "  Pline Multiple 2", "    1",
                              "1 2", "    2", "3 4", "5 6", "  Multipoint 2", "7 8", "9 10", "Collection 0",
                              "Collection 2", "  Line 1 2 3 4", "  Text \"x\"", "Point 1 1"});
  EXPECT_EQ(Objects(text), (std::vector<std::string>{"P(700 800,900 1000)L(100 200)(300 400,500 600)", "O",
                                                     "L(100 200,300 400)", "P(100 100)"}));
  MifScanner scanner(text);
  MifObject o;
  while (scanner.Next(o)) {
  }
  EXPECT_EQ(scanner.Skipped(), (MifSkippedCounts{1, 0, 0, 0, 0, 1, 0}));
}

TEST(MifScanner, ContentsByKeywordAlone) {
  auto contents = [](const std::vector<std::string>& data) {
    MifLayerContents c = MifScanner(MifText(data)).Contents();
    return std::string(c.points ? "P" : "") + (c.lines ? "L" : "");
  };
  EXPECT_EQ(contents({"Pline 2", "1 2", "3 4", "Point 1 2"}), "PL");
  EXPECT_EQ(contents({"Line 1 2 3 4", "Region 1", "  1", "1 1"}), "L");
  EXPECT_EQ(contents({"Collection 2", "  Multipoint 1", "1 2", "  Pline 2", "1 2", "3 4"}), "PL");
  EXPECT_EQ(contents({"Region 1", "  1", "1 1", "Text \"Point\"", "None"}), "");
  EXPECT_EQ(MifScanner(CrLf({"Columns 1", "  PointName Char(9)", "Data", "Region 1 Point Pline", "  1", "1 1"}))
                .Contents()
                .points,
            false);
}

TEST(MifScanner, TheWgs84ClauseAsMapInfoAndGdalWriteIt) {
  for (const char* clause : {"CoordSys Earth Projection 1, 104", "Coordsys Earth\r\n  Projection 1, 104",
                             "COORDSYS EARTH PROJECTION 1,104 Bounds (-180, -90) (180, 90)",
                             "CoordSys  Earth  Projection  1 ,  104", "CoordSys Earth Projection 1, 104\r\n"})
    EXPECT_TRUE(MifScanner(CrLf({"Version 300", clause, "Columns 1", "  a Char(1)", "Data"})).DeclaresWgs84())
        << clause;
  for (const char* clause : {"CoordSys Earth Projection 1, 1041", "CoordSys Earth Projection 1, 33",
                             "CoordSys Earth Projection 12, 104", "CoordSys Earth Projection 1 104",
                             "CoordSys Earth Projection 8, 104, \"m\", 3, 0, 0.9996, 500000, 0",
                             "CoordSys NonEarth Units \"m\"", "Projection 1, 104"})
    EXPECT_FALSE(MifScanner(CrLf({"Version 300", clause, "Columns 1", "  a Char(1)", "Data"})).DeclaresWgs84())
        << clause;
  // In the header only; a damaged clause hides no later header line.
  EXPECT_FALSE(MifScanner(CrLf({"Version 300", "Data", "CoordSys Earth Projection 1, 104"})).DeclaresWgs84());
  MifScanner damaged(CrLf({"CoordSys Earth", "Delimiter \";\"", "Charset \"UTF-8\"", "Data"}));
  EXPECT_FALSE(damaged.DeclaresWgs84());
  EXPECT_EQ(damaged.Delimiter(), ';');
  EXPECT_EQ(damaged.Charset(), "UTF-8");
}

TEST(MifScanner, PolylineForms) {
  // One line per form: plain with indented vertices, Line, Multiple, count on
  // its own line with exponents, a count beyond its vertices, an empty one.
  std::string text = MifText({"Pline 3", "116 39", "  116.5 39.5", "\t117 40", "    Pen (1,2,0)", "Line 1 2 3.5 4",
                              "PLINE MULTIPLE 2", "  2", "1 2", "3 4", "  1", "5 6", "Pline", "  1", "2.5E-01 -2e1",
                              "pline 5", "1 2", "    Pen (1,2,0)", "Pline 0", "Line 1 2 3 4"});
  EXPECT_EQ(Objects(text), (std::vector<std::string>{"L(11600 3900,11650 3950,11700 4000)", "L(100 200,350 400)",
                                                     "L(100 200,300 400)(500 600)", "L(25 -2000)", "L(100 200)",
                                                     "L()", "L(100 200,300 400)"}));
}

TEST(MidReader, FirstColumnOfEachRow) {
  auto rows = [](const std::string& text, char delimiter = ',') {
    MidReader reader = MidReader::FromText(text, delimiter);
    std::vector<std::string> out;
    for (std::string value; reader.NextRow(value);) out.push_back(value);
    return out;
  };
  EXPECT_EQ(rows("\"WELL01\",3\r\n\"Main St, \"\"north\"\"\",4\r\nplain,5\r\n\r\n  lead,x\nlast"),
            (std::vector<std::string>{"WELL01", "Main St, \"north\"", "plain", "", "lead", "last"}));
  EXPECT_EQ(rows(""), std::vector<std::string>{});
  EXPECT_EQ(rows("a,b\tc\r\n", '\t'), std::vector<std::string>{"a,b"});
  // A quoted value runs to its closing quote across line breaks, in the first
  // column or a later one; an unclosed quote runs to the end of the file.
  EXPECT_EQ(rows("\"two\r\nlines\",\"x\"\r\nb,\"c\r\n\"\"d\nx\"\r\n\"\"\"\"\r\n\"e\r\rf\"\r\n\"open,1\r\nnext\r\n"),
            (std::vector<std::string>{"two lines", "b", "\"", "e  f", "open,1 next "}));
}

}  // namespace
}  // namespace carteloom
