// What the system writes, byte for byte: receiver sentences and the degrees
// and minutes in them (against a reference built on to_chars alone).
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <random>

#include "receiver/receiver_sentences.h"
#include "receiver/record_reader.h"
#include "receiver/sentence.h"
#include "support/test_support.h"

namespace carteloom::testing {

static std::string ReferenceDegreesMinutes(double degrees, int width) {
  if (!(degrees > 0 && std::isfinite(degrees))) degrees = 0;
  const double whole = std::floor(degrees);
  double minutes = (degrees - whole) * 60, scaled = minutes * 2000;
  // A tie of the third decimal rounds up: minutes * 2000 is then exactly an odd whole.
  if (std::fma(minutes, 2000.0, -scaled) == 0 && std::fmod(scaled, 2.0) == 1.0) minutes = (scaled + 1) / 2000;
  char b[400];
  std::string d(b, std::to_chars(b, b + 400, whole, std::chars_format::fixed, 0).ptr);
  std::string m(b, std::to_chars(b, b + 400, minutes, std::chars_format::fixed, 3).ptr);
  return d.insert(0, std::max(0, width - static_cast<int>(d.size())), '0') +
         m.insert(0, 6 - std::min<std::size_t>(6, m.size()), '0');
}

TEST(Sentence, DegreesAndMinutesForEveryKindOfValue) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 100000; ++i) {
    const double coordinate = static_cast<double>(random() % 181) + static_cast<double>(random() % 60000) / 60000;
    // Any bit pattern (NaN, Inf, subnormals, degrees of any size); coordinates as computed and as layers hold
    // them; minutes in sixteenths (exact ties); what lies just below whole degrees, on both sides of 1000.
    for (double v : {std::bit_cast<double>(random()), coordinate, std::round(coordinate * 1e6) / 1e6,
                     static_cast<double>(random() % 181) + (random() % 960) / 960.0,
                     std::nextafter(random() % 2000 + 1.0, 0.0)}) {
      char b[2 * kMaxDegreesMinutesText + 1];
      char* p = PutDegreesMinutesText(b, v, 2);
      *p = '|';
      ASSERT_EQ(std::string(b, PutDegreesMinutesText(p + 1, v, 3)),
                ReferenceDegreesMinutes(v, 2) + "|" + ReferenceDegreesMinutes(v, 3))
          << std::bit_cast<std::uint64_t>(v);
    }
  }
}

// Names from elsewhere cannot add a field or a sentence; GBK bytes count as written; numbers keep their
// width. (Checksums over files of many sentences are checked by the batch tests.)
TEST(Sentence, ThePiecesOfASentence) {
  ScratchFolder folder;
  OutputFile out(folder / "out");
  Sentence(out, "$N").Text(std::string(1100, 'n')).End();  // longer than the room a sentence starts with
  Sentence(out, "$PZTJWPL").Text(",").DegreesMinutes(39.999999, 2).Text(",N,").DegreesMinutes(5.5, 3).Text(",E,")
      .Number(5, 7).Text(",M,").Name("a,b*c$d\re\nf\xCE\xB4").Text(",").Number(UINT64_MAX).Number(7, 25).End();
  out.Commit();
  EXPECT_EQ(ReadBytes(folder / "out"), "$N" + std::string(1100, 'n') +
                                           "*4E\r\n$PZTJWPL,3960.000,N,00530.000,E,0000005,M,a_b_c_d_e_f\xCE\xB4,"
                                           "184467440737095516150000000000000000000000007*02\r\n");
}

// Every name reads back as written, and the record after it stays whole.
TEST(Sentence, NamesReadBackAsWritten) {
  const std::pair<std::string, std::string> names[] = {
      {"\"open", "_open"}, {"\"Quoted\" well", "_Quoted\" well"}, {" \t \"x\"", "_x\""},
      {"  lead", "lead"}, {"in \"side\"", "in \"side\""}, {"a,b*\r\n", "a_b___"}, {" ", ""}};
  ScratchFolder folder;
  OutputFile out(folder / "names.upt");
  for (const auto& [name, cleaned] : names) {
    WriteWaypointSentence(out, {116, 39}, kWaypointAltitude, [&](Sentence& s) { s.Name(name); });
    WriteWaypointSentence(out, {116, 39}, kWaypointAltitude, [&](Sentence& s) { s.Name("NEXT"); });
  }
  out.Commit();
  FieldReader source(folder / "names.upt");
  RecordReader records(source, waypoint_field::kLast, false, kAllFields);
  ReceiverRecord record;
  for (const auto& [name, cleaned] : names) {
    ASSERT_TRUE(records.Next(record));
    EXPECT_EQ(record.Field(waypoint_field::kName), cleaned) << name;
    ASSERT_TRUE(records.Next(record));
    EXPECT_EQ(record.Field(waypoint_field::kName), "NEXT") << name;
    EXPECT_EQ(record.fieldCount, waypoint_field::kLast) << name;
  }
}

}  // namespace carteloom::testing
