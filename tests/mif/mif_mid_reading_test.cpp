// Reading a MIF/MID pair: the header clauses and objects of the MIF file, the
// rows of the MID file, and the GBK names they give whatever character set
// they were written in.
#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "files/charset_codec.h"
#include "mif/mid_reader.h"
#include "mif/mif_scanner.h"
#include "support/mif_objects.h"
#include "support/test_support.h"

namespace carteloom::testing {

// The objects of a layer read from memory whole, then from a file in blocks of a few bytes and in pieces of a
// few vertices, which must come to the same.
static std::vector<std::string> Objects(const std::vector<std::string>& data) {
  const std::string text = CrLf({"Columns 2", "  PointName Char(20)", "  Line Char(5)", "Data"}) + CrLf(data);
  const std::vector<std::string> whole = ScannedObjects(MifScanner::FromText(text), SIZE_MAX);
  ScratchFolder folder;
  WriteBytes(folder / "layer.mif", text);
  for (std::size_t block : {1, 3, 7})
    EXPECT_EQ(ScannedObjects(MifScanner(folder / "layer.mif", block), block), whole) << block;
  return whole;
}

TEST(MifScanner, HeaderClausesAndObjects) {
  // A Text object's string is no Point, nor is a word that only begins like one; a missing coordinate reads as 0;
  // a count beyond its vertices ends with them.
  EXPECT_EQ(Objects({"POINT 116.5  39.75", "    Symbol (35,0,12)", "Region 1", "  3", "1 1", "2 2", "1 1",
                     "point   -70.25 -33.5", "Text", "    \"Point here\"", "  1 2 3 4", "NONE", "Multipoint 3",
                     "1 2 3 4", "5 6", "Arc 1 2 3 4", "Ellipse 1 2 3 4", "Rect 1 2 3 4", "RoundRect 1 2 3 4",
                     "Point +1.5e1 9E-1", "Pointz 9 9", "Point east north", "Point 116.39139", "  1", "Collection 3",
                     "  Region 1", "    2", "1 1", "2 2", "  Pline Multiple 2", "    1", "1 2", "    2", "3 4", "5 6",
                     "  Multipoint 2", "7 8", "9 10", "Collection 0", "Collection 2", "  Line 1 2 3 4", "  Text \"x\"",
                     "Pline 3", "116 39", "  116.5 39.5", "\t117 40", "    Pen (1,2,0)", "PLINE", "  1", "2.5E-01 -2e1",
                     "pline 5", "1 2", "    Pen (1,2,0)", "Pline 0", "Pline -3", "1 2", "Pline Multiple 5", "0", "0", "0", "0",
                     "0"}),
            (std::vector<std::string>{"PL", "P116.5 39.75 ", "", "P-70.25 -33.5 ", "", "", "P1 2 P3 4 P5 6 ", "", "",
                                      "", "", "P15 0.9 ", "P0 0 ", "P116.39139 0 ", "P7 8 P9 10 1 2 |3 4 5 6 |", "",
                                      "1 2 3 4 |", "116 39 116.5 39.5 117 40 |", "0.25 -20 |", "1 2 |", "|", "|",
                                      "|||||", "22 2 1 1 1 1 2 1"}));
  // Only words that start lines count for the contents, not the column called Line.
  EXPECT_EQ(Objects({"Point 1 2", "Region 1", "  1", "1 1"}),
            (std::vector<std::string>{"P", "P1 2 ", "", "2 1 0 0 0 0 0 0"}));
  // What the header declares: WGS84, the MID delimiter (a tab without one) and the charset.
  const struct { const char* shows; std::string header, read; } headers[] = {
      {"the WGS84 clause", "CoordSys Earth Projection 1, 104", "WGS84 \t"},
      {"in any letter case, comma without blanks", "COORDSYS EARTH PROJECTION 1,104 Bounds", "WGS84 \t"},
      {"spread over lines as MapInfo writes it", "CoordSys Earth\n Projection\r\n1 ,\r\n104", "WGS84 \t"},
      {"another datum hides no later line", "CoordSys Earth Projection 1, 1041\nDelimiter \";\"", ";"},
      {"another projection, an empty charset", "CoordSys Earth Projection 12, 104\nCharset \"\"", "\t"},
      {"no comma", "CoordSys Earth Projection 1 104", "\t"}, {"no comma but ;", "CoordSys Earth Projection 1;104", "\t"},
      {"a cut clause and a charset in blanks", "CoordSys Earth Projection 1,\ncharset  \"UTF-8\"  ", "\tUTF-8"},
      {"a charset without quotes; nothing after Data", "Charset WindowsLatin1 \t\nData\nCoordSys Earth Projection 1, 104",
       "\tWindowsLatin1"}};
  for (const auto& [shows, header, read] : headers) {
    MifScanner scanner = MifScanner::FromText(header);
    EXPECT_EQ((scanner.DeclaresWgs84() ? "WGS84 " : "") + (scanner.Delimiter() + std::string(scanner.Charset())), read)
        << shows;
  }
}

using Rows = std::vector<std::string>;

// The first column of each row, then how many names held what GBK cannot hold; read from a file in
// blocks of blockSize bytes when it is given.
static Rows RowsOf(const std::string& text, std::string_view charset = "WindowsSimpChinese", char delimiter = ',',
                   std::size_t blockSize = 0) {
  std::optional<ScratchFolder> folder;
  if (blockSize > 0) WriteBytes(folder.emplace() / "layer.mid", text);
  MidReader reader = blockSize > 0 ? MidReader(*folder / "layer.mid", delimiter, blockSize) : MidReader::FromText(text, delimiter);
  reader.NamesIn(charset);
  Rows rows;
  for (std::string value; reader.NextRow(value);) rows.push_back(value);
  rows.push_back(std::to_string(reader.ReplacedNames()));
  return rows;
}

TEST(MidReader, RowsAndTheirNames) {
  // Read whole, then from a file in blocks of a few bytes: rows and quotes fall across blocks.
  for (std::size_t block : {0, 1, 3, 7}) {
    EXPECT_EQ(RowsOf("\"WELL01\",3\r\n\"Main St, \"\"north\"\"\",4\r\nplain,5\r\n\r\n  lead,x\nlast", "", ',', block),
              (Rows{"WELL01", "Main St, \"north\"", "plain", "", "lead", "last", "0"})) << block;
    EXPECT_EQ(RowsOf("a,b\tc\r\n" + std::string("WE\0LL", 5), "", '\t', block), (Rows{"a,b", std::string("WE\0LL", 5), "0"}));
    // Quotes run across line breaks, in the first column or a later one; an unclosed quote runs to the end.
    EXPECT_EQ(RowsOf("\"two\r\nlines\",\"x\"\r\nb, \"c\r\n\"\"d\nx\"\r\n\"\"\"\"\r\n\"e\r\rf\"\r\n\"open,1\r\nnext\r\n", "", ',', block),
              (Rows{"two lines", "b", "\"", "e  f", "open,1 next ", "0"})) << block;
  }
  // Names become GBK.
  const std::string utf8 = "未命名", gbk = "\xCE\xB4\xC3\xFC\xC3\xFB";
  for (const char* charset : {"Neutral", "", "UTF-8", "utf8"}) EXPECT_EQ(RowsOf("A1\r\n" + utf8, charset)[1], gbk);
  for (const char* charset : {"WindowsSimpChinese", "NoSuchCharset"}) EXPECT_EQ(RowsOf(utf8, charset)[0], utf8);
  // What GBK cannot hold (Thai, an emoji) or what is no UTF-8 becomes "?", counted by name.
  EXPECT_EQ(RowsOf("กx\xF0\x9F\x98\x80\r\nc\xFF\r\n" + utf8, "UTF-8"), (Rows{"?x?", "c?", gbk, "2"}));
  // The judgement looks at a part of the file, which may end inside a character.
  std::string many;
  for (int i = 0; i < 20000; ++i) many += utf8.substr(0, 6) + "\n";
  EXPECT_EQ(RowsOf(many, "Neutral")[19999], gbk.substr(0, 4));
  EXPECT_EQ(RowsOf("\x80\n" + many, "Neutral")[1], utf8.substr(0, 6));  // GBK: 0x80 alone is no UTF-8
}

TEST(MidReader, NeutralNamesAreUtf8OnlyWhereGbkCannotBeMeant) {
  GbkRecoder toGbk(kUtf8CodePage);
  // Each name alone in a Neutral MID: GBK as it is, or UTF-8 recoded to GBK.
  const struct { const char* shows; std::string name; bool utf8; } cases[] = {
      {"accented letters within a Latin word", "Caf\xC3\xA9", true},
      {"a middle dot between Chinese names", "阿·尔", true},
      {"a Cyrillic word", "Значение", true},
      {"Greek words", "Ολυμπος Πειραιας", true},
      {"小谢, as UTF-8 Сл", "\xD0\xA1\xD0\xBB", false},
      {"小写, as UTF-8 Сд", "\xD0\xA1\xD0\xB4", false},
      {"魏, as UTF-8 κ", "\xCE\xBA", false},
      {"纬, as UTF-8 γ", "\xCE\xB3", false},
      {"位, as UTF-8 λ", "\xCE\xBB", false},
      {"太原, as UTF-8 a combining mark and a Cyrillic letter", "\xCC\xAB\xD4\xAD", false},
      {"a Cyrillic letter within a Latin word", "xЖx", false}, {"Cyrillic after Latin", "xЖЖ", false},
      {"a Cyrillic and a Greek word", "Москва Αθηνα", false},
      {"one Cyrillic letter", "я", false}};
  for (const auto& [shows, name, utf8] : cases)
    EXPECT_EQ(RowsOf(name + "\r\n", "Neutral")[0], utf8 ? toGbk.Recode(name) : name) << shows;
}

TEST(MidReader, GbkNamesAreNeverTakenForUtf8) {
  // Every two-byte code of GB2312 alone as a name: rows A1 to F7, columns A1 to FE.
  for (int code = 0xA1A1; code <= 0xF7FE; code += (code & 0xFF) == 0xFE ? 0xA3 : 1) {
    const std::string name{static_cast<char>(code >> 8), static_cast<char>(code)};
    ASSERT_EQ(RowsOf(name + "\r\n", "Neutral")[0], name);
  }
  // Random names of two to four GB2312 ideographs (rows B0 to F7 but D7, which is not full), written in UTF-8
  // and in GBK.
  std::mt19937 random(936);
  for (int i = 0; i < 10000; ++i) {
    std::string gbk;
    for (int n = 2 + static_cast<int>(random() % 3), row; n > 0; --n) {
      row = 0xB0 + static_cast<int>(random() % 0x47);
      gbk += {static_cast<char>(row < 0xD7 ? row : row + 1), static_cast<char>(0xA1 + random() % 0x5E)};
    }
    for (const std::string& name : {Utf8FromGbk(gbk).value(), gbk}) ASSERT_EQ(RowsOf(name + "\r\n", "Neutral")[0], gbk) << name;
  }
}

}  // namespace carteloom::testing
