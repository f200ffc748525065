#include <gtest/gtest.h>

#include "formats/charset_codec.h"

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

TEST(CharsetCodec, Utf8Detection) {
  EXPECT_TRUE(IsUtf8WithNonAscii("\xE6\x9C\xAA\xE5\x91\xBD\xE5\x90\x8D"));  // 未命名 in UTF-8
  EXPECT_FALSE(IsUtf8WithNonAscii("WELL01"));                                 // ASCII only
  EXPECT_FALSE(IsUtf8WithNonAscii("\xCE\xB4\xC3\xFC\xC3\xFB"));               // 未命名 in GBK
  EXPECT_FALSE(IsUtf8WithNonAscii("\xE6\x9C"));                               // cut short
  EXPECT_FALSE(IsUtf8WithNonAscii("\xC0\x80"));                               // overlong
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
