// Receiver and MID files read as one stream of fields, and the coordinates in them.
#include <gtest/gtest.h>

#include <charconv>
#include <random>

#include "files/short_decimal.h"
#include "receiver/field_reader.h"
#include "support/test_support.h"

namespace carteloom::testing {

using Fields = std::vector<std::string>;

static Fields AllFields(FieldReader reader) {
  Fields fields;
  while (!reader.AtEnd()) fields.emplace_back(reader.ReadField());
  return fields;
}

TEST(FieldReader, FieldsAndTheCoordinatesInThem) {
  const std::pair<std::string, Fields> cases[] = {{"$PZTJWPL,3954.450,N,11623.483,E,0000000,M,WELL01,,a*45\r\n",
      {"$PZTJWPL", "3954.450", "N", "11623.483", "E", "0000000", "M", "WELL01", "", "a*45"}}, {"", {}}, {"\r\n", {""}},
      {"a,\r\n007", {"a", "", "007"}}, {"  a,\tb\nc\n\nd\r", {"a", "b", "c", "", "d"}}, {"\"ab\"junk,c", {"ab", "c"}},
      {"\"Main St, north\",\"c\r\nd\"\r\n\"e, never closed", {"Main St, north", "c\r\nd", "e, never closed"}}};
  for (const auto& [text, fields] : cases) EXPECT_EQ(AllFields(FieldReader::FromText(text)), fields) << text;
  // The line each field starts on, for messages; line breaks in quotes count.
  FieldReader lines = FieldReader::FromText("a,b\r\n\"c\r\nd\",e\n\nf");
  std::vector<std::uint64_t> starts;
  while (!lines.AtEnd()) lines.ReadField(), starts.push_back(lines.Line());
  EXPECT_EQ(starts, (std::vector<std::uint64_t>{1, 1, 2, 3, 4, 5}));
  // Degrees are the whole hundreds, so a field that lost its leading zero still reads right. Numbers are read
  // as from_chars reads them, also with 16 significant digits or 23 decimals.
  const std::pair<std::string, double> coordinates[] = {{"3954.1230", 39 + (3954.123 - 3900) / 60}, {"530.0000", 5.5},
      {"00530.0000", 5.5}, {" \t\r\n+530.0abc", 5.5}, {"-.5", -0.5 / 60}, {"1.5e3", 1.5 / 60}, {"N", 0}, {".", 0},
      {"96.48064786969077", 96.48064786969077 / 60}, {"0.00000000000000000000001", 1e-23 / 60}, {"", 0},
      {std::string(400, '9'), 0}};  // beyond a double: no number, and no crash
  for (const auto& [text, degrees] : coordinates) EXPECT_EQ(DecimalDegrees(text), degrees) << text;
}

TEST(ShortDecimal, ReadsAsFromCharsWhereverTheDigitsStop) {
  // Runs of digits, points and other bytes of every length: the fast path reads as the general one.
  std::mt19937_64 random(7);
  for (int i = 0; i < 200000; ++i) {
    std::string text;
    for (std::size_t n = random() % 28; n > 0; --n) text += random() % 5 == 0 ? ".0 9x-"[random() % 6] : char('0' + random() % 10);
    double value = 0, expected = 0;
    const char* stop = ShortDecimalPrefix(text.data(), text.data() + text.size(), value);
    if (stop == nullptr) continue;
    const auto read = std::from_chars(text.data(), stop, expected, std::chars_format::fixed);
    ASSERT_TRUE(read.ptr == stop && value == expected) << text;
  }
}

TEST(FieldReader, FieldsAcrossBlockBoundariesAndLongerThanABlock) {
  // The first field's CR ends the second block of the file, its LF starts the third.
  Fields expected{std::string((2 << 20) - 1, 'x')};
  std::string text = expected[0] + "\r\n", longField(3 << 20, 'y'), quoted = std::string(1 << 20, 'q') + ",\r\n";
  for (int i = 0; i < 100000; ++i) text += "$PZTJWPL," + std::to_string(i) + ",N\r\n";
  for (int i = 0; i < 100000; ++i) expected.insert(expected.end(), {"$PZTJWPL", std::to_string(i), "N"});
  text += longField + ",\"" + quoted + "\"tail\r\nend";
  expected.insert(expected.end(), {longField, quoted, "end"});
  ScratchFolder folder;
  WriteBytes(folder / "big.log", text);
  EXPECT_TRUE(AllFields(FieldReader(folder / "big.log")) == expected);  // no dump of megabytes on failure
}

}  // namespace carteloom::testing
