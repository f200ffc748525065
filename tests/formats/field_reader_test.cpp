#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/field_reader.h"
#include "support/test_support.h"

namespace carteloom {
namespace {

std::vector<std::string> AllFields(FieldReader reader) {
  std::vector<std::string> fields;
  while (!reader.AtEnd()) fields.emplace_back(reader.ReadField());
  return fields;
}

std::vector<std::string> FieldsOf(const std::string& text) { return AllFields(FieldReader::FromText(text)); }

using Fields = std::vector<std::string>;

TEST(FieldReader, WaypointSentenceGivesTenFields) {
  EXPECT_EQ(FieldsOf("$PZTJWPL,3954.450,N,11623.483,E,0000000,M,WELL01,,a*45\r\n"),
            (Fields{"$PZTJWPL", "3954.450", "N", "11623.483", "E", "0000000", "M", "WELL01", "", "a*45"}));
}

TEST(FieldReader, SeparatorsAndEmptyFields) {
  EXPECT_EQ(FieldsOf("a,b"), (Fields{"a", "b"}));
  EXPECT_EQ(FieldsOf("a,,b\r\n"), (Fields{"a", "", "b"}));
  EXPECT_EQ(FieldsOf("\r\n"), (Fields{""}));
  EXPECT_EQ(FieldsOf("a,\r\n"), (Fields{"a", ""}));
  EXPECT_EQ(FieldsOf(""), Fields{});
  EXPECT_EQ(FieldsOf("007\r\n"), (Fields{"007"}));
  EXPECT_EQ(FieldsOf("$PZTJCMD,END*3D\r\n"), (Fields{"$PZTJCMD", "END*3D"}));
  EXPECT_EQ(FieldsOf("  a,  b\r\n"), (Fields{"a", "b"}));
}

TEST(FieldReader, LineFeedAloneEndsALine) {
  EXPECT_EQ(FieldsOf("a,b\nc\n\nd"), (Fields{"a", "b", "c", "", "d"}));
  EXPECT_EQ(FieldsOf("a\r"), (Fields{"a"}));
}

TEST(FieldReader, QuotedFields) {
  EXPECT_EQ(FieldsOf("\"Main St, north\",x\r\n"), (Fields{"Main St, north", "x"}));
  EXPECT_EQ(FieldsOf("\"two\r\nlines\"\r\nnext"), (Fields{"two\r\nlines", "next"}));
  EXPECT_EQ(FieldsOf("\"ab\"junk,c"), (Fields{"ab", "c"}));
  EXPECT_EQ(FieldsOf("\"never closed, at all"), (Fields{"never closed, at all"}));
}

TEST(FieldReader, FieldsAcrossBlockBoundariesAndLongerThanABlock) {
  testing::ScratchFolder folder;
  const std::string longField(3 << 20, 'x'), quoted(1 << 20, 'q');
  std::string text;
  Fields expected;
  for (int i = 0; i < 200000; ++i) {
    text += "$PZTJWPL,3954.450,N\r\n";
    expected.insert(expected.end(), {"$PZTJWPL", "3954.450", "N"});
  }
  testing::WriteBytes(folder / "big.log", text + longField + ",\"" + quoted + "\",end");
  expected.insert(expected.end(), {longField, quoted, "end"});
  EXPECT_TRUE(AllFields(FieldReader(folder / "big.log")) == expected);  // no dump of megabytes on failure
}

TEST(LeadingNumber, ReadsTheNumberAtTheStart) {
  EXPECT_DOUBLE_EQ(LeadingNumber(" 116.5 39.75"), 116.5);
  EXPECT_DOUBLE_EQ(LeadingNumber("\r\n\t-.5"), -0.5);
  EXPECT_DOUBLE_EQ(LeadingNumber("+3."), 3);
  EXPECT_DOUBLE_EQ(LeadingNumber("12abc"), 12);
  EXPECT_DOUBLE_EQ(LeadingNumber("1.5e3"), 1.5);
  EXPECT_EQ(LeadingNumber("abc"), 0);
  EXPECT_EQ(LeadingNumber("-"), 0);
  EXPECT_EQ(LeadingNumber("."), 0);
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber(std::string(400, '9')), 0);  // beyond a double: no number, not a crash
}

TEST(DecimalDegrees, SplitsDegreesFromMinutesByValue) {
  EXPECT_EQ(DecimalDegrees("3954.1230", 2), 39 + (3954.123 - 3900) / 60);
  EXPECT_DOUBLE_EQ(DecimalDegrees("11623.5000", 3), 116 + 23.5 / 60);
  EXPECT_DOUBLE_EQ(DecimalDegrees("0530.0000", 2), 5.5);
  EXPECT_DOUBLE_EQ(DecimalDegrees("00830.0000", 3), 8.5);
  EXPECT_NEAR(DecimalDegrees("08523.1234", 3), 85.38539, 1e-9);
  // A latitude that lost its leading zero still reads as 5 degrees 30 minutes.
  EXPECT_DOUBLE_EQ(DecimalDegrees("530.0000", 2), 5.5);
  EXPECT_EQ(DecimalDegrees("", 2), 0);
  EXPECT_EQ(DecimalDegrees("N", 3), 0);
}

TEST(DecimalDegrees, HemisphereLettersSetTheSign) {
  EXPECT_DOUBLE_EQ(WithHemisphere(39.5, "S"), -39.5);
  EXPECT_DOUBLE_EQ(WithHemisphere(116.5, "W"), -116.5);
  EXPECT_DOUBLE_EQ(WithHemisphere(39.5, "N"), 39.5);
  EXPECT_DOUBLE_EQ(WithHemisphere(116.5, "E"), 116.5);
  EXPECT_DOUBLE_EQ(WithHemisphere(116.5, ""), 116.5);
}

}  // namespace
}  // namespace carteloom
