// What the system writes, byte for byte: number texts (against references
// built on to_chars alone) and receiver sentences.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <random>

#include "receiver/sentence.h"
#include "support/test_support.h"

namespace carteloom::testing {

// The padded and the plain text of a number, then its degrees-minutes texts of width 2 and 3.
static std::string Texts(double v) {
  char b[4 * kMaxDegreesMinutesText], *p = b;
  *(p = PutNumberText(p, v, true)) = '|';
  *(p = PutNumberText(p + 1, v, false)) = '|';
  *(p = PutDegreesMinutesText(p + 1, v, 2)) = '|';
  return {b, PutDegreesMinutesText(p + 1, v, 3)};
}

static std::string ReferenceText(double value, bool padded) {
  std::string text = std::signbit(value) && value != 0 && !std::isnan(value) ? "-" : padded ? " " : "";
  if (value == 0 || !std::isfinite(value)) return text + (value == 0 ? "0" : std::isnan(value) ? "NaN" : "Inf");
  char b[64];  // d.dddddddddddddde+XX: 15 significant digits and the exponent
  const std::string_view s(b, std::to_chars(b, b + 64, std::fabs(value), std::chars_format::scientific, 14).ptr);
  std::string digits = std::string(1, b[0]).append(s.substr(2, 14));
  digits.erase(digits.find_last_not_of('0') + 1);
  const int e = std::stoi(std::string(s.substr(17)));
  if (e >= 15 || e < -5) {
    if (digits.size() > 1) digits.insert(digits.begin() + 1, '.');
    return text + digits + (e < 0 ? "E-" : "E+") + (std::abs(e) < 10 ? "0" : "") + std::to_string(std::abs(e));
  }
  if (e < 0) return text + (padded ? "." : "0.") + std::string(static_cast<std::size_t>(-e - 1), '0') + digits;
  if (digits.size() > e + std::size_t{1}) digits.insert(digits.begin() + e + 1, '.');
  digits.resize(std::max(digits.size(), e + std::size_t{1}), '0');
  return text + digits;
}

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

TEST(NumberText, ExactForEveryKindOfValue) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 100000; ++i) {
    const double magnitude = std::pow(10.0, random() % 25000 / 1000.0 - 8), power = std::pow(10.0, i % 24 - 7);
    const double whole = static_cast<double>(100'000'000'000'000 + random() % 900'000'000'000'000);
    const double coordinate = static_cast<double>(random() % 181) + static_cast<double>(random() % 60000) / 60000;
    // Any bit pattern (NaN, Inf, subnormals); coordinates as computed and as layers hold them; minutes in
    // sixteenths (exact ties); 15 digits and a binary fraction (ties of the 15th digit and near misses);
    // powers of ten and what lies just below them and below whole degrees, on both sides of 1000.
    for (double v : {i % 2 ? magnitude : -magnitude, std::bit_cast<double>(random()), coordinate,
                     std::round(coordinate * 1e6) / 1e6, static_cast<double>(random() % 181) + (random() % 960) / 960.0,
                     (whole + 0.5) / 8, (whole + 0.5) * 1024, std::nextafter(whole + 0.5, 0.0), power,
                     std::nextafter(power, 0.0), std::nextafter(random() % 2000 + 1.0, 0.0)})
      ASSERT_EQ(Texts(v), ReferenceText(v, true) + "|" + ReferenceText(v, false) + "|" + ReferenceDegreesMinutes(v, 2) +
                              "|" + ReferenceDegreesMinutes(v, 3)) << std::bit_cast<std::uint64_t>(v);
  }
}

TEST(Sentence, WorkedExamplesAndThePiecesOfSentences) {
  const std::vector<std::string> examples{"$PZTJWPL,3954.450,N,11623.483,E,0000000,M,WELL01,,a*45",
      "$PZTJWPL,3954.450,N,11623.483,E,-000005,M,WPT001_1,,a*42", "$PZTJRTE,2,1,c,1,ROAD1,WPT001_1,a,WPT002_1,a*00",
      "$PZTJRTE,2,2,c,1,ROAD1,WPT003_1,a,,a*0E", "$PZTJCMD,END*3D", "$N" + std::string(1100, 'n') + "*4E"};
  ScratchFolder folder;
  OutputFile out(folder / "out");
  // Again and again, until the buffer is written out and later sentences have old bytes behind them.
  std::string all;
  for (int i = 0; i < 1000; ++i, all += CrLf(examples))
    for (const std::string& s : examples) Sentence(out, "$").Text(s.substr(1, s.size() - 4)).End();
  // Names from elsewhere cannot add a field or a sentence; GBK bytes count as written.
  Sentence(out, "$PZTJWPL").Text(",").DegreesMinutes(39.999999, 2).Text(",N,").DegreesMinutes(5.5, 3).Text(",E,")
      .Number(5, 7).Text(",M,").Name("a,b*c$d\re\nf\xCE\xB4").Text(",").Number(UINT64_MAX).Number(7, 25).End();
  out.Commit();
  const std::string written = ReadBytes(folder / "out");
  EXPECT_TRUE(written.starts_with(all)) << written.substr(0, 300);
  EXPECT_EQ(written.substr(all.size()), "$PZTJWPL,3960.000,N,00530.000,E,0000005,M,a_b_c_d_e_f\xCE\xB4,"
                                        "184467440737095516150000000000000000000000007*02\r\n");
}

}  // namespace carteloom::testing
