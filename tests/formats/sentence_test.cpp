#include <gtest/gtest.h>

#include "formats/output_file.h"
#include "formats/sentence.h"
#include "support/test_support.h"

namespace carteloom {
namespace {

TEST(Sentence, ChecksumsOfCompleteSentences) {
  EXPECT_EQ(SentenceChecksum("PZTJWPL,3954.450,N,11623.483,E,0000000,M,WELL01,,a"), "45");
  EXPECT_EQ(SentenceChecksum("PZTJWPL,3954.450,N,11623.483,E,-000005,M,WPT001_1,,a"), "42");
  EXPECT_EQ(SentenceChecksum("PZTJRTE,2,1,c,1,ROAD1,WPT001_1,a,WPT002_1,a"), "00");
  EXPECT_EQ(SentenceChecksum("PZTJRTE,2,2,c,1,ROAD1,WPT003_1,a,,a"), "0E");
  EXPECT_EQ(SentenceChecksum("PZTJCMD,END"), "3D");
  EXPECT_EQ(SentenceChecksum(""), "00");
}

TEST(Sentence, ChecksumTakesNameBytesUnsigned) {
  // One GBK character plus one lone high byte: an odd number of high-bit
  // bytes, where a signed XOR would carry the sign into the result.
  std::string body = "A\xCE\xB4\xC3";
  unsigned expected = 'A' ^ 0xCE ^ 0xB4 ^ 0xC3;
  char hex[3];
  std::snprintf(hex, sizeof hex, "%02X", expected);
  EXPECT_EQ(SentenceChecksum(body), hex);
  EXPECT_EQ(SentenceChecksum("\xFF"), "FF");
}

TEST(Sentence, WriteSentenceFramesBodyWithCrLf) {
  testing::ScratchFolder folder;
  std::string path = folder / "out.rte";
  OutputFile out(path);
  WriteSentence(out, "PZTJCMD,END");
  WriteSentence(out, "PZTJWPL,3954.450,N,11623.483,E,0000000,M,WELL01,,a");
  out.Commit();
  EXPECT_EQ(testing::ReadBytes(path),
            "$PZTJCMD,END*3D\r\n$PZTJWPL,3954.450,N,11623.483,E,0000000,M,WELL01,,a*45\r\n");
}

TEST(Sentence, DegreesMinutesText) {
  EXPECT_EQ(DegreesMinutesText(39.9075, 2), "3954.450");
  EXPECT_EQ(DegreesMinutesText(39.0855, 2), "3905.130");
  EXPECT_EQ(DegreesMinutesText(116.39139, 3), "11623.483");
  EXPECT_EQ(DegreesMinutesText(5.5, 3), "00530.000");
  EXPECT_EQ(DegreesMinutesText(73.5, 3), "07330.000");
  EXPECT_EQ(DegreesMinutesText(0, 2), "0000.000");
  // No carry: minutes that round up to 60 stay 60.
  EXPECT_EQ(DegreesMinutesText(39.999999, 2), "3960.000");
  // 3/64 of a degree is exactly 2.8125 minutes: a tie rounds up, not to even.
  EXPECT_EQ(DegreesMinutesText(10.046875, 2), "1002.813");
}

TEST(Sentence, CoordinateFieldsCarryTheHemisphere) {
  CoordinateFields north = LatitudeFields(39.9075);
  EXPECT_EQ(north.text, "3954.450");
  EXPECT_EQ(north.hemisphere, 'N');
  CoordinateFields south = LatitudeFields(-39.9075);
  EXPECT_EQ(south.text, "3954.450");
  EXPECT_EQ(south.hemisphere, 'S');
  EXPECT_EQ(LongitudeFields(116.39139).hemisphere, 'E');
  CoordinateFields west = LongitudeFields(-5.5);
  EXPECT_EQ(west.text, "00530.000");
  EXPECT_EQ(west.hemisphere, 'W');
}

}  // namespace
}  // namespace carteloom
