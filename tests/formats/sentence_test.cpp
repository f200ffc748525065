#include <gtest/gtest.h>

#include <cstdio>

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
  // Name bytes count unsigned: an odd number of high-bit bytes must not carry a sign.
  EXPECT_EQ(SentenceChecksum("A\xCE\xB4\xC3"), "F8");
  EXPECT_EQ(SentenceChecksum("\xFF"), "FF");
  // Bodies of every length, so that each way the bytes fold into words is used.
  std::string body;
  unsigned expected = 0;
  for (int i = 0; i < 40; ++i) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", expected);
    ASSERT_EQ(SentenceChecksum(body), hex) << body.size();
    body.push_back(static_cast<char>(0x41 + i * 37));
    expected ^= static_cast<unsigned char>(body.back());
  }
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
  auto text = [](CoordinateFields f) { return f.text + f.hemisphere; };
  EXPECT_EQ(text(LatitudeFields(39.9075)), "3954.450N");
  EXPECT_EQ(text(LatitudeFields(-39.9075)), "3954.450S");
  EXPECT_EQ(text(LongitudeFields(116.39139)), "11623.483E");
  EXPECT_EQ(text(LongitudeFields(-5.5)), "00530.000W");
}

}  // namespace
}  // namespace carteloom
