// Receiver and MID files read as one stream of fields, and the numbers in them.
#include <gtest/gtest.h>

#include "formats/field_reader.h"
#include "support/test_support.h"

namespace carteloom {
namespace {

using Fields = std::vector<std::string>;

Fields AllFields(FieldReader reader) {
  Fields fields;
  while (!reader.AtEnd()) fields.emplace_back(reader.ReadField());
  return fields;
}

TEST(FieldReader, SeparatorsQuotesAndLineEnds) {
  const std::pair<std::string, Fields> cases[] = {
      {"$PZTJWPL,3954.450,N,11623.483,E,0000000,M,WELL01,,a*45\r\n",
       {"$PZTJWPL", "3954.450", "N", "11623.483", "E", "0000000", "M", "WELL01", "", "a*45"}},
      {"", {}}, {"\r\n", {""}}, {"a,\r\n007", {"a", "", "007"}}, {"  a,\tb\nc\n\nd\r", {"a", "b", "c", "", "d"}},
      {"\"Main St, north\",x\r\n", {"Main St, north", "x"}}, {"\"two\r\nlines\"\r\nnext", {"two\r\nlines", "next"}},
      {"\"ab\"junk,c", {"ab", "c"}}, {"\"never closed, at all", {"never closed, at all"}}};
  for (const auto& [text, fields] : cases) EXPECT_EQ(AllFields(FieldReader::FromText(text)), fields) << text;
}

TEST(FieldReader, FieldsAcrossBlockBoundariesAndLongerThanABlock) {
  std::string text((1 << 20) - 1, 'x'), longField(3 << 20, 'y'), quoted = std::string(1 << 20, 'q') + ",\r\n";
  Fields expected{text};
  text += "\r\n";  // its CR ends the first block of the file, its LF starts the next
  for (int i = 0; i < 100000; ++i) text += "$PZTJWPL," + std::to_string(i) + ",N\r\n";
  for (int i = 0; i < 100000; ++i) expected.insert(expected.end(), {"$PZTJWPL", std::to_string(i), "N"});
  text += longField + ",\"" + quoted + "\"tail\r\nend";
  expected.insert(expected.end(), {longField, quoted, "end"});
  testing::ScratchFolder folder;
  testing::WriteBytes(folder / "big.log", text);
  EXPECT_TRUE(AllFields(FieldReader(folder / "big.log")) == expected);  // no dump of megabytes on failure
}

TEST(FieldReader, NumbersAndCoordinates) {
  const std::pair<std::string, double> numbers[] = {{" 116.5 39.75", 116.5}, {"\r\n\t-.5", -0.5}, {"+3.", 3},
      {"12abc", 12}, {"1.5e3", 1.5}, {"abc", 0}, {"-", 0}, {".", 0}, {"", 0}, {std::string(400, '9'), 0}};
  for (const auto& [text, value] : numbers) EXPECT_EQ(LeadingNumber(text), value) << text;
  // Degrees are the whole hundreds, so a field that lost its leading zero still reads right.
  const std::pair<const char*, double> coordinates[] = {{"3954.1230", 39 + (3954.123 - 3900) / 60},
      {"11623.5000", 116 + (11623.5 - 11600) / 60}, {"0530.0000", 5.5}, {"00530.0000", 5.5}, {"530.0000", 5.5}, {"N", 0}};
  for (const auto& [text, degrees] : coordinates) EXPECT_EQ(DecimalDegrees(text), degrees) << text;
  EXPECT_EQ(WithHemisphere(39.5, "S") + WithHemisphere(116.5, "W") + WithHemisphere(1, "N") + WithHemisphere(2, "E"), -153);
}

}  // namespace
}  // namespace carteloom
