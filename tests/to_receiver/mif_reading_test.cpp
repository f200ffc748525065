#include <gtest/gtest.h>

#include "formats/file_error.h"
#include "formats/mid_reader.h"
#include "formats/mif_reader.h"
#include "mif_samples.h"

namespace carteloom {
namespace {

using testing::CrLf;
using testing::MifText;

// Each object as kind letter and its vertices by section: "L(1 2,3 4)(5 6)".
std::vector<std::string> Objects(const std::string& text) {
  MifScanner scanner(text);
  MifObject object;
  std::vector<std::string> out;
  auto number = [](double v) {
    std::string s = std::to_string(v);
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') s.pop_back();
    return s;
  };
  while (scanner.Next(object)) {
    std::string item(1, object.kind == MifObjectKind::Point ? 'P' : object.kind == MifObjectKind::Polyline ? 'L' : 'O');
    std::size_t start = 0;
    std::vector<std::size_t> ends = object.sectionEnds;
    if (object.kind == MifObjectKind::Point) ends = {1};
    for (std::size_t end : ends) {
      item += "(";
      for (std::size_t v = start; v < end; ++v) {
        if (v > start) item += ",";
        item.append(number(object.vertices[v].x)).append(" ").append(number(object.vertices[v].y));
      }
      item += ")";
      start = end;
    }
    out.push_back(item);
  }
  return out;
}

TEST(MifScanner, ObjectsComeFromTheDataSectionByTheirLineKeyword) {
  // Column names that hold keywords, a column called Data, keywords in any
  // case, style clauses and objects that are not converted.
  std::string text = CrLf({"Version 300", "Delimiter \";\"", "CoordSys Earth Projection 1, 104", "Columns 3",
                           "  PointName Char(20)", "  Data Char(5)", "  Pline Integer", "DATA", "",
                           "POINT 116.5  39.75", "    Symbol (35,0,12)", "Region 1", "  3", "1 1", "2 2", "1 1",
                           "    Brush (2,16777215,16777215)", "point   -70.25 -33.5", "Text", "    \"Point here\"",
                           "  1 2 3 4", "NONE", "  Point 1 2"});
  EXPECT_EQ(Objects(text), (std::vector<std::string>{"P(116.5 39.75)", "O", "P(-70.25 -33.5)", "O", "O",
                                                     "P(1 2)"}));
  MifScanner scanner(text);
  EXPECT_EQ(scanner.Delimiter(), ';');
  EXPECT_EQ(MifScanner(MifText({})).Delimiter(), ',');
  EXPECT_EQ(MifScanner("Data\n").Delimiter(), '\t');
}

TEST(MifScanner, PolylineForms) {
  std::string text = MifText({"Pline 3", "116 39", "  116.5 39.5", "\t117 40", "    Pen (1,2,0)",
                              "Line 1 2 3.5 4", "PLINE MULTIPLE 2", "  3", "1 2", "3 4", "5 6", "  2", "7 8",
                              "9 10", "Pline", "  2", "2.5E-01 -2e1", "3 4", "pline 5", "1 2", "3 4",
                              "    Pen (1,2,0)", "Pline 0", "Line 1 2 3 4"});
  EXPECT_EQ(Objects(text), (std::vector<std::string>{
                               "L(116 39,116.5 39.5,117 40)", "L(1 2,3.5 4)", "L(1 2,3 4,5 6)(7 8,9 10)",
                               "L(0.25 -20,3 4)",
                               "L(1 2,3 4)",  // a count larger than its vertices keeps what is there
                               "L()", "L(1 2,3 4)"}));
}

TEST(MifScanner, LayerKindAndCollections) {
  EXPECT_EQ(LayerKind(MifText({"Pline 2", "1 2", "3 4", "Point 1 2"})), MifLayerKind::Points);
  EXPECT_EQ(LayerKind(MifText({"Line 1 2 3 4", "Region 1", "  1", "1 1"})), MifLayerKind::Polylines);
  EXPECT_EQ(LayerKind(MifText({"Region 1", "  1", "1 1"})), MifLayerKind::Neither);
  // Keywords outside the data section, or not at the start of a line, are no objects.
  EXPECT_EQ(LayerKind(CrLf({"Columns 1", "  PointName Char(9)", "Data", "Region 1 Point Pline", "  1", "1 1"})),
            MifLayerKind::Neither);
  EXPECT_EQ(LayerKind(CrLf({"Version 300", "Point 1 2"})), MifLayerKind::Neither);
  // The parts of a collection are one object with it: they take no MID rows of their own.
  EXPECT_EQ(Objects(MifText({"Collection 2", "Multipoint 1", "1 2", "Pline 2", "1 2", "3 4", "Point 5 6"})),
            (std::vector<std::string>{"O", "P(5 6)"}));
}

std::vector<std::string> Rows(const std::string& text, char delimiter = ',') {
  MidReader reader = MidReader::FromText(text, delimiter);
  std::vector<std::string> rows;
  std::string value;
  while (reader.NextRow(value)) rows.push_back(value);
  return rows;
}

TEST(MidReader, FirstColumnOfEachRow) {
  EXPECT_EQ(Rows("\"WELL01\",3\r\n\"Main St, \"\"north\"\"\",4\r\nplain,5\r\n\r\n  lead,x\nlast"),
            (std::vector<std::string>{"WELL01", "Main St, \"north\"", "plain", "", "lead", "last"}));
  EXPECT_EQ(Rows(""), std::vector<std::string>{});
  EXPECT_EQ(Rows("\r\n"), std::vector<std::string>{""});
  // An unclosed quote ends with its row instead of swallowing the rest of the file.
  EXPECT_EQ(Rows("\"open,1\r\nnext\r\n"), (std::vector<std::string>{"open,1", "next"}));
  EXPECT_EQ(Rows("a,b\tc\r\n", '\t'), std::vector<std::string>{"a,b"});
}

TEST(MidReader, ReportsAMissingFileByName) {
  testing::ScratchFolder folder;
  try {
    MidReader reader(folder / "none.mid", ',');
    FAIL();
  } catch (const FileError& error) {
    EXPECT_EQ(error.Path(), folder / "none.mid");
  }
}

}  // namespace
}  // namespace carteloom
