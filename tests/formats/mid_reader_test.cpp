// MID rows, and the GBK names they give whatever character set they were written in.
#include <gtest/gtest.h>

#include <random>

#include "formats/charset_codec.h"
#include "formats/mid_reader.h"

namespace carteloom {
namespace {

using Rows = std::vector<std::string>;

// The first column of each row, then how many names held what GBK cannot hold.
Rows RowsOf(const std::string& text, std::string_view charset = "WindowsSimpChinese", char delimiter = ',') {
  MidReader reader = MidReader::FromText(text, delimiter);
  reader.NamesIn(charset);
  Rows rows;
  for (std::string value; reader.NextRow(value);) rows.push_back(value);
  rows.push_back(std::to_string(reader.ReplacedNames()));
  return rows;
}

std::string Utf8(char32_t c) {
  if (c < 0x800) return {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
  return {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
}

const std::string kUnnamedUtf8 = "\xE6\x9C\xAA\xE5\x91\xBD\xE5\x90\x8D", kUnnamedGbk = "\xCE\xB4\xC3\xFC\xC3\xFB";

TEST(MidReader, FirstColumnOfEachRow) {
  EXPECT_EQ(RowsOf("\"WELL01\",3\r\n\"Main St, \"\"north\"\"\",4\r\nplain,5\r\n\r\n  lead,x\nlast"),
            (Rows{"WELL01", "Main St, \"north\"", "plain", "", "lead", "last", "0"}));
  EXPECT_EQ(RowsOf("a,b\tc\r\n" + std::string("WE\0LL", 5), "", '\t'), (Rows{"a,b", std::string("WE\0LL", 5), "0"}));
  // Quotes run across line breaks, in the first column or a later one; an unclosed quote runs to the end.
  EXPECT_EQ(RowsOf("\"two\r\nlines\",\"x\"\r\nb, \"c\r\n\"\"d\nx\"\r\n\"\"\"\"\r\n\"e\r\rf\"\r\n\"open,1\r\nnext\r\n"),
            (Rows{"two lines", "b", "\"", "e  f", "open,1 next ", "0"}));
}

TEST(MidReader, NamesBecomeGbk) {
  const std::string names = "WELL01\r\n" + kUnnamedUtf8 + "\r\n";
  for (const char* charset : {"Neutral", "", "UTF-8", "utf8", "WindowsSimpChinese", "Klingon"})
    EXPECT_EQ(RowsOf(names, charset)[1], charset[0] == 'W' || charset[0] == 'K' ? kUnnamedUtf8 : kUnnamedGbk) << charset;
  EXPECT_EQ(RowsOf(kUnnamedGbk + "\r\n", "NEUTRAL")[0] + RowsOf("\xA5\xBC\xA9\x52\xA6\x57", "windowstradchinese")[0],
            kUnnamedGbk + kUnnamedGbk);
  EXPECT_EQ(RowsOf("caf\xE9\r\n", "WindowsLatin1"), (Rows{"caf\xA8\xA6", "0"}));
  // What GBK cannot hold (Thai, an emoji) or what is no UTF-8 becomes "?", counted by name.
  EXPECT_EQ(RowsOf(names + "\"x" + Utf8(0x0E01) + "\xF0\x9F\x98\x80\"\r\nc\xFF\r\n", "UTF-8"),
            (Rows{"WELL01", kUnnamedGbk, "x??", "c?", "2"}));
  // The judgement looks at a part of the file, which may end inside a character.
  std::string many;
  for (int i = 0; i < 20000; ++i) many += kUnnamedUtf8.substr(0, 6) + "\n";
  EXPECT_EQ(RowsOf(many, "Neutral")[19999], kUnnamedGbk.substr(0, 4));
}

TEST(MidReader, GbkNamesAreNeverTakenForUtf8) {
  for (int lead = 0xA1; lead <= 0xF7; ++lead)
    for (int trail = 0xA1; trail <= 0xFE; ++trail) {
      const std::string name{static_cast<char>(lead), static_cast<char>(trail)};
      ASSERT_EQ(RowsOf(name + "\r\n", "Neutral")[0], name);
    }
  // Random names of two to four GB2312 ideographs, written in UTF-8 and in GBK.
  GbkRecoder toGbk(kUtf8CodePage);
  std::mt19937 random(936);
  for (int i = 0; i < 10000; ++i) {
    std::string utf8, gbk;
    for (int n = 2 + static_cast<int>(random() % 3); n > 0;) {
      const std::string ideograph = Utf8(0x4E00 + random() % (0x9FA6 - 0x4E00)), code = toGbk.Recode(ideograph);
      if (static_cast<unsigned char>(code[0]) < 0xB0 || static_cast<unsigned char>(code[1]) < 0xA1) continue;
      utf8 += ideograph, gbk += code, --n;
    }
    for (const std::string& name : {utf8, gbk}) ASSERT_EQ(RowsOf(name + "\r\n", "Neutral")[0], gbk) << utf8;
  }
}

TEST(MidReader, WhatReadsAsUtf8Names) {
  std::string many;  // one odd character among many names is tolerated, not among few
  for (int i = 0; i < 8; ++i) many += Utf8(0x4E00 + i) + "\r\n";
  for (const std::string& names : {many + Utf8(0x0416), "Caf" + Utf8(0xE9) + "\r\n" + Utf8(0xD6) + "lberg",
                                   Utf8(0x963F) + Utf8(0xB7) + Utf8(0x5C14), Utf8(0xFF21) + Utf8(0x2160) + Utf8(0x2460)})
    EXPECT_TRUE(LooksLikeUtf8Names(names)) << names;
  // ASCII only, cut short, overlong, a surrogate, one odd among few; GBK that is valid UTF-8:
  // a combining mark (太原), an accented letter alone (茅), a middle dot alone (侣).
  for (const std::string& names : {std::string("WELL01"), Utf8(0x4E00).substr(0, 2), std::string("\xC0\x80"),
                                   Utf8(0xD800), Utf8(0x4E00) + Utf8(0x0416), std::string("\xCC\xAB\xD4\xAD"), Utf8(0xE9), Utf8(0xB7)})
    EXPECT_FALSE(LooksLikeUtf8Names(names)) << names;
}

}  // namespace
}  // namespace carteloom
