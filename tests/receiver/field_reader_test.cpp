// Receiver files read as one stream of fields, and the coordinates in them.
#include <gtest/gtest.h>

#include <random>
#include <utility>

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
  const struct { const char* shows; std::string text; Fields fields; } cases[] = {
      {"a sentence: the checksum stays in the last field", "$PZTJWPL,3954.450,N,11623.483,E,0000000,M,WELL01,,a*45\r\n",
       {"$PZTJWPL", "3954.450", "N", "11623.483", "E", "0000000", "M", "WELL01", "", "a*45"}},
      {"nothing", "", {}}, {"an empty line", "\r\n", {""}}, {"leading zeros kept", "a,\r\n007", {"a", "", "007"}},
      {"leading blanks dropped; LF alone, a last CR alone", "  a,\tb\nc\n\nd\r", {"a", "b", "c", "", "d"}},
      {"what follows a closing quote", "\"ab\"junk,c", {"ab", "c"}},
      {"quotes hold commas and line ends, or run to the end", "\"Main St, north\",\"c\r\nd\"\r\n\"e, never closed",
       {"Main St, north", "c\r\nd", "e, never closed"}}};
  for (const auto& [shows, text, fields] : cases) EXPECT_EQ(AllFields(FieldReader::FromText(text)), fields) << shows;
  // The line each field starts on, for messages; line breaks in quotes count.
  FieldReader lines = FieldReader::FromText("a,b\r\n\"c\r\nd\",e\n\nf");
  std::vector<std::uint64_t> starts;
  while (!lines.AtEnd()) lines.ReadField(), starts.push_back(lines.Line());
  EXPECT_EQ(starts, (std::vector<std::uint64_t>{1, 1, 2, 3, 4, 5}));
  // Degrees are the whole hundreds, so a field that lost its leading zero still reads right. Numbers are read
  // as from_chars reads them, also with 16 significant digits or 23 decimals.
  const struct { const char* shows; std::string text; double degrees; } coordinates[] = {
      {"a latitude", "3954.1230", 39 + (3954.123 - 3900) / 60}, {"a leading zero lost", "530.0000", 5.5},
      {"a longitude", "00530.0000", 5.5}, {"blanks, a sign, a tail", " \t\r\n+530.0abc", 5.5}, {"-.5", "-.5", -0.5 / 60},
      {"no exponent", "1.5e3", 1.5 / 60}, {"a letter", "N", 0}, {"a point alone", ".", 0}, {"nothing", "", 0},
      {"16 significant digits", "96.48064786969077", 96.48064786969077 / 60},
      {"23 decimals", "0.00000000000000000000001", 1e-23 / 60},
      {"beyond a double: no number, and no crash", std::string(400, '9'), 0}};
  for (const auto& [shows, text, degrees] : coordinates) EXPECT_EQ(DecimalDegrees(text), degrees) << shows;
}

// Fields split the plain way, a byte at a time: at every comma and LF, one CR before a line end dropped.
// No blank may start a field, nor a quote (the reader skips the one and reads to the other).
static Fields PlainFields(std::string_view text) {
  Fields fields;
  std::string field;
  for (char c : text) {
    if (c != ',' && c != '\n') {
      field += c;
      continue;
    }
    if (c == '\n' && field.ends_with('\r')) field.pop_back();
    fields.push_back(std::exchange(field, {}));
  }
  if (field.ends_with('\r')) field.pop_back();
  if (!text.empty() && !text.ends_with(',') && !text.ends_with('\n')) fields.push_back(field);
  return fields;
}

TEST(FieldReader, FindsTheSeparatorsThePlainLoopFinds) {
  // The reader looks for them eight bytes at a time; any byte may stand beside them.
  std::mt19937 random(25);
  for (int i = 0; i < 30000; ++i) {
    std::string text;
    for (std::size_t n = random() % 48; n > 0; --n) {
      const char c = random() % 3 == 0 ? ",\n\r"[random() % 3] : static_cast<char>(random());
      text += c == ' ' || c == '\t' || c == '"' ? 'x' : c;
    }
    ASSERT_EQ(AllFields(FieldReader::FromText(text)), PlainFields(text)) << i;
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
