#include <gtest/gtest.h>

#include "formats/mid_reader.h"
#include "formats/mif_reader.h"
#include "mif_samples.h"

namespace carteloom {
namespace {

using testing::CrLf;
using testing::MifText;

// Each object as its kind letter and its sections: "L(1 2,3 4)(5 6)".
std::vector<std::string> Objects(const std::string& text) {
  MifScanner scanner(text);
  MifObject o;
  std::vector<std::string> out;
  auto number = [](double v) { return std::to_string(static_cast<int>(v * 100)); };
  while (scanner.Next(o)) {
    std::string item = o.kind == MifObjectKind::Point ? "P" : o.kind == MifObjectKind::Polyline ? "L" : "O";
    if (o.kind == MifObjectKind::Point) o.sectionEnds = {1};
    for (std::size_t s = 0, start = 0; s < o.sectionEnds.size(); start = o.sectionEnds[s++]) {
      item += "(";
      for (std::size_t v = start; v < o.sectionEnds[s]; ++v)
        item.append(v > start ? "," : "").append(number(o.vertices[v].x)).append(" ").append(number(o.vertices[v].y));
      item += ")";
    }
    out.push_back(item);
  }
  return out;
}

TEST(MifScanner, ObjectsComeFromTheDataSectionByTheKeywordOfTheirLine) {
  std::string text = CrLf({"Version 300", "Delimiter \";\"", "Columns 3", "  PointName Char(20)", "  Data Char(5)",
                           "  Pline Integer", "DATA", "", "POINT 116.5  39.75", "    Symbol (35,0,12)", "Region 1",
                           "  3", "1 1", "2 2", "1 1", "point   -70.25 -33.5", "Text", "    \"Point here\"",
                           "  1 2 3 4", "NONE", "Collection 2", "Multipoint 1", "1 2", "Pline 2", "1 2", "3 4",
                           "  Point 1 2"});
  EXPECT_EQ(Objects(text), (std::vector<std::string>{"P(11650 3975)", "O", "P(-7025 -3350)", "O", "O", "O",
                                                     "P(100 200)"}));
  EXPECT_EQ(MifScanner(text).Delimiter(), ';');
  EXPECT_EQ(MifScanner("Data\n").Delimiter(), '\t');
  EXPECT_EQ(LayerKind(MifText({"Pline 2", "1 2", "3 4", "Point 1 2"})), MifLayerKind::Points);
  EXPECT_EQ(LayerKind(MifText({"Line 1 2 3 4", "Region 1", "  1", "1 1"})), MifLayerKind::Polylines);
  // The members of a Collection belong to it, whatever their keywords.
  EXPECT_EQ(LayerKind(MifText({"Collection 2", "  Point 1 2", "  Pline 2", "1 2", "3 4", "Line 1 2 3 4"})),
            MifLayerKind::Polylines);
  EXPECT_EQ(LayerKind(MifText({"Collection 1", "  Point 1 2"})), MifLayerKind::Neither);
  EXPECT_EQ(LayerKind(CrLf({"Columns 1", "  PointName Char(9)", "Data", "Region 1 Point Pline", "  1", "1 1"})),
            MifLayerKind::Neither);
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
  // An unclosed quote ends with its row instead of swallowing the rest of the file.
  EXPECT_EQ(rows("\"open,1\r\nnext\r\n"), (std::vector<std::string>{"open,1", "next"}));
  EXPECT_EQ(rows("a,b\tc\r\n", '\t'), std::vector<std::string>{"a,b"});
}

}  // namespace
}  // namespace carteloom
