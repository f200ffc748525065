#include <gtest/gtest.h>

#include "formats/charset_codec.h"

#include <random>

namespace carteloom {
namespace {

TEST(CharsetCodec, MifCharsetNamesToCodePages) {
  EXPECT_EQ(CodePageOfMifCharset("WindowsSimpChinese"), 936);
  EXPECT_EQ(CodePageOfMifCharset("windowssimpchinese"), 936);
  EXPECT_EQ(CodePageOfMifCharset("UTF-8"), kUtf8CodePage);
  EXPECT_EQ(CodePageOfMifCharset("utf8"), kUtf8CodePage);
  EXPECT_EQ(CodePageOfMifCharset("WindowsTradChinese"), 950);
  EXPECT_EQ(CodePageOfMifCharset("WindowsLatin1"), 1252);
  EXPECT_EQ(CodePageOfMifCharset("Neutral"), std::nullopt);
  EXPECT_EQ(CodePageOfMifCharset("Klingon"), std::nullopt);
}

std::string Utf8(char32_t c) {
  if (c < 0x80) return std::string(1, static_cast<char>(c));
  if (c < 0x800) return {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
  return {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
          static_cast<char>(0x80 | (c & 0x3F))};
}

TEST(CharsetCodec, NeutralNamesAreUtf8OnlyWhenTheyReadAsNames) {
  EXPECT_TRUE(LooksLikeUtf8Names("\xE6\x9C\xAA\xE5\x91\xBD\xE5\x90\x8D\r\n"));  // 未命名
  EXPECT_TRUE(LooksLikeUtf8Names("Caf\xC3\xA9\r\n\xC3\x96lberg"));                // Café, Ölberg
  EXPECT_TRUE(LooksLikeUtf8Names(Utf8(0x963F) + Utf8(0xB7) + Utf8(0x5C14)));         // 阿·尔
  EXPECT_TRUE(LooksLikeUtf8Names(Utf8(0xFF21) + Utf8(0x2160) + Utf8(0x2460)));       // Ａ Ⅰ ①
  EXPECT_FALSE(LooksLikeUtf8Names("WELL01"));                                         // ASCII only
  EXPECT_FALSE(LooksLikeUtf8Names("\xE6\x9C"));                                       // cut short
  EXPECT_FALSE(LooksLikeUtf8Names("\xC0\x80"));                                       // overlong
  // GBK that happens to be valid UTF-8: 太原 (a combining mark), 茅 alone (é), 侣 alone (·).
  EXPECT_FALSE(LooksLikeUtf8Names("\xCC\xAB\xD4\xAD"));
  EXPECT_FALSE(LooksLikeUtf8Names("\xC3\xA9"));
  EXPECT_FALSE(LooksLikeUtf8Names("\xC2\xB7"));
  // One odd character among many names is tolerated, not among few.
  std::string names;
  for (int i = 0; i < 8; ++i) names += Utf8(0x4E00 + i) + "\r\n";
  EXPECT_TRUE(LooksLikeUtf8Names(names + Utf8(0x0416)));
  EXPECT_FALSE(LooksLikeUtf8Names(Utf8(0x4E00) + Utf8(0x0416)));
}

TEST(CharsetCodec, GbkNamesKeepTheirBytesAndUtf8NamesBecomeTheSameBytes) {
  // Every two-byte code of GB2312 alone as a name.
  for (int lead = 0xA1; lead <= 0xF7; ++lead)
    for (int trail = 0xA1; trail <= 0xFE; ++trail) {
      const std::string name{static_cast<char>(lead), static_cast<char>(trail)};
      ASSERT_FALSE(LooksLikeUtf8Names(name)) << std::hex << lead << trail;
    }
  // Random names of two to four GB2312 ideographs, as UTF-8 and as GBK.
  GbkRecoder toGbk(kUtf8CodePage);
  std::mt19937 random(936);
  for (int i = 0; i < 10000; ++i) {
    std::string utf8, gbk;
    for (int n = 2 + static_cast<int>(random() % 3); n > 0;) {
      const std::string ideograph = Utf8(0x4E00 + random() % (0x9FA6 - 0x4E00));
      const std::string code = toGbk.Recode(ideograph);
      if (static_cast<unsigned char>(code[0]) < 0xB0 || static_cast<unsigned char>(code[1]) < 0xA1) continue;
      utf8 += ideograph;
      gbk += code;
      --n;
    }
    ASSERT_TRUE(LooksLikeUtf8Names(utf8)) << utf8;
    ASSERT_FALSE(LooksLikeUtf8Names(gbk)) << utf8;
  }
}

TEST(CharsetCodec, RecodesToGbkAndMarksWhatGbkCannotHold) {
  GbkRecoder fromUtf8(kUtf8CodePage);
  bool replaced = true;
  EXPECT_EQ(fromUtf8.Recode("\xE6\x9C\xAA\xE5\x91\xBD\xE5\x90\x8D 1", &replaced), "\xCE\xB4\xC3\xFC\xC3\xFB 1");
  EXPECT_FALSE(replaced);
  // A Thai letter and an emoji have no GBK form; a stray byte is not UTF-8.
  EXPECT_EQ(fromUtf8.Recode("a\xE0\xB8\x81" "b\xF0\x9F\x98\x80" "c\xFF", &replaced), "a?b?c?");
  EXPECT_TRUE(replaced);

  GbkRecoder fromBig5(950);
  EXPECT_EQ(fromBig5.Recode("\xA5\xBC\xA9\x52\xA6\x57", &replaced), "\xCE\xB4\xC3\xFC\xC3\xFB");  // 未命名
  GbkRecoder fromLatin1(1252);
  EXPECT_EQ(fromLatin1.Recode("caf\xE9", &replaced), "caf\xA8\xA6");  // é exists in GBK
  EXPECT_FALSE(replaced);
}

}  // namespace
}  // namespace carteloom
