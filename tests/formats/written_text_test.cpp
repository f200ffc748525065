// What the system writes, byte for byte: number texts (against references
// built on to_chars alone), receiver sentences, MIF lines and MID values.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <functional>
#include <random>

#include "formats/field_reader.h"
#include "formats/mif_text.h"
#include "formats/sentence.h"
#include "support/test_support.h"

namespace carteloom {
namespace {

// The padded and the plain text of a number, then its degrees-minutes texts of width 2 and 3.
std::string Texts(double v) {
  char b[4 * kMaxDegreesMinutesText];
  char* p = PutNumberText(b, v, true);
  *p = '|';
  *(p = PutNumberText(p + 1, v, false)) = '|';
  *(p = PutDegreesMinutesText(p + 1, v, 2)) = '|';
  return {b, PutDegreesMinutesText(p + 1, v, 3)};
}

std::string ReferenceText(double value, bool padded) {
  std::string text = std::signbit(value) && value != 0 && !std::isnan(value) ? "-" : padded ? " " : "";
  if (!(std::fabs(value) > 0) || std::isinf(value)) return text + (value == 0 ? "0" : std::isinf(value) ? "Inf" : "NaN");
  char b[64];  // d.dddddddddddddde+XX: 15 significant digits and the exponent
  const std::string_view scientific(b, std::to_chars(b, b + 64, std::fabs(value), std::chars_format::scientific, 14).ptr);
  std::string digits = std::string(1, b[0]).append(scientific.substr(2, 14));
  digits.erase(digits.find_last_not_of('0') + 1);
  const int e = std::stoi(std::string(scientific.substr(17)));
  if (e >= 15 || e < -5) {
    if (digits.size() > 1) digits.insert(digits.begin() + 1, '.');
    return text + digits + (e < 0 ? "E-" : "E+") + (std::abs(e) < 10 ? "0" : "") + std::to_string(std::abs(e));
  }
  if (e < 0) return text + (padded ? "." : "0.") + std::string(static_cast<std::size_t>(-e - 1), '0') + digits;
  digits.resize(std::max(digits.size(), e + 1ul), '0');
  if (digits.size() > e + 1ul) digits.insert(digits.begin() + e + 1, '.');
  return text + digits;
}

std::string ReferenceDegreesMinutes(double degrees, int width) {
  if (!(degrees > 0 && std::isfinite(degrees))) degrees = 0;
  const double whole = std::floor(degrees);
  double minutes = (degrees - whole) * 60, scaled = minutes * 2000;
  // A tie of the third decimal rounds up: minutes * 2000 is then exactly an odd whole.
  if (std::fma(minutes, 2000.0, -scaled) == 0 && std::fmod(scaled, 2.0) == 1.0) minutes = (scaled + 1) / 2000;
  char b[400];
  std::string d(b, std::to_chars(b, b + 400, whole, std::chars_format::fixed, 0).ptr);
  std::string m(b, std::to_chars(b, b + 400, minutes, std::chars_format::fixed, 3).ptr);
  return d.insert(0, std::max(0, width - static_cast<int>(d.size())), '0') + m.insert(0, 6 - std::min(6ul, m.size()), '0');
}

void ExpectExact(double v) {
  ASSERT_EQ(Texts(v), ReferenceText(v, true) + "|" + ReferenceText(v, false) + "|" + ReferenceDegreesMinutes(v, 2) + "|" +
                          ReferenceDegreesMinutes(v, 3)) << std::bit_cast<std::uint64_t>(v);
}

TEST(NumberText, ExactForEveryKindOfValueAndReadBackExactly) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> logMagnitude(-8, 17);
  std::uniform_int_distribution<std::int64_t> fifteenDigits(100'000'000'000'000, 999'999'999'999'999);
  for (int i = 0; i < 100000; ++i) {
    const double magnitude = std::pow(10.0, logMagnitude(random)), whole = static_cast<double>(fifteenDigits(random));
    const double coordinate = static_cast<double>(random() % 181) + static_cast<double>(random() % 60000) / 60000;
    // Any bit pattern (NaN, Inf, subnormals); coordinates as computed and as layers hold them; minutes in
    // sixteenths (exact ties); 15 digits and a binary fraction (ties of the 15th digit and near misses).
    for (double v : {i % 2 ? magnitude : -magnitude, std::bit_cast<double>(random()), coordinate,
                     std::round(coordinate * 1e6) / 1e6, static_cast<double>(random() % 181) + (random() % 960) / 960.0,
                     (whole + 0.5) / 8, (whole + 0.5) * 1024, std::nextafter(whole + 0.5, 0.0)})
      ExpectExact(v);
    const std::string t = std::to_string(random() >> random() % 64) + "." + std::string(random() % 25, '0') +
                          std::to_string(random() >> random() % 64);
    double expected = 0;
    std::from_chars(t.data(), t.data() + t.size(), expected);
    ASSERT_EQ(LeadingNumber(t), expected) << t;
  }
  for (int k = -7; k <= 16; ++k)
    for (double v : {std::pow(10.0, k), std::nextafter(std::pow(10.0, k), 0.0)}) ExpectExact(v);
  for (double v : {0.99999999999999989, 179.99999999999997, 999.99999999999989, 1000.0, 9e15, 1e300}) ExpectExact(v);
  EXPECT_EQ(Texts(39.999999) + Texts(10.046875), " 39.999999|39.999999|3960.000|03960.000 10.046875|10.046875|1002.813|01002.813");
  EXPECT_EQ(Texts(1e15) + Texts(-1.5e-6).substr(0, 18) + PlainNumberText(0) + IntegerText(INT64_MIN),
            " 1E+15|1E+15|100000000000000000.000|100000000000000000.000-1.5E-06|-1.5E-06|0-9223372036854775808");
}

std::string Written(const std::function<void(OutputFile&)>& write) {
  testing::ScratchFolder folder;
  OutputFile out(folder / "out");
  write(out);
  out.Commit();
  return testing::ReadBytes(folder / "out");
}

TEST(Sentence, WorkedExamplesAndMifLines) {
  EXPECT_EQ(Written([](OutputFile& out) {
              for (auto [y, x, altitude, name] : {std::tuple{39.9075, 116.39139, "0000000", "WELL01"},
                                                  {39.9075, 116.39139, "-000005", "WPT001_1"}, {39.999999, 5.5, "", ""}})
                Sentence(out, "$PZTJWPL").Text(",").DegreesMinutes(y, 2).Text(",N,").DegreesMinutes(x, 3).Text(",E,")
                    .Text(altitude).Text(",M,").Name(name).Text(",,a").End();
              Sentence(out, "$PZTJRTE").Text(",").Number(2).Text(",").Number(1).Text(",c,1,").Name("ROAD1").Text(",WPT")
                  .Number(1, 3).Text("_1,a,WPT").Number(2, 3).Text("_1,a").End();
              Sentence(out, "$PZTJRTE").Text(",2,2,c,1,ROAD1,WPT003_1,a,,a").End();
              Sentence(out, "$PZTJCMD").Text(",END").End();
              // A name cannot add a field or a sentence; GBK bytes count as written.
              Sentence(out, "$N").Name("a,b*c$d\re\nf\xCE\xB4").Text(",").Number(UINT64_MAX).Text(",").Number(7, 25).End();
              Sentence(out, "$N").Name(std::string(1100, 'n')).End();  // longer than the room a sentence starts with
              WriteMifHeader(out);
              WriteCoordinateLine(out, "Point ", 116.5, 39 + 59.123 / 60);
              WriteCoordinateLine(out, "", 0.25, -0.5);
              WriteCoordinateLine(out, "", 0.25, -0.5, false);
            }),
            testing::CrLf({"$PZTJWPL,3954.450,N,11623.483,E,0000000,M,WELL01,,a*45",
                           "$PZTJWPL,3954.450,N,11623.483,E,-000005,M,WPT001_1,,a*42",
                           "$PZTJWPL,3960.000,N,00530.000,E,,M,,,a*6E", "$PZTJRTE,2,1,c,1,ROAD1,WPT001_1,a,WPT002_1,a*00",
                           "$PZTJRTE,2,2,c,1,ROAD1,WPT003_1,a,,a*0E", "$PZTJCMD,END*3D",
                           "$Na_b_c_d_e_f\xCE\xB4,18446744073709551615,0000000000000000000000007*5A",
                           "$N" + std::string(1100, 'n') + "*4E", "Version 300", "Charset \"Neutral\"", "Delimiter \",\"",
                           "CoordSys Earth Projection 1, 104 Bounds (76.74848, 18.23792) (131.1559, 50.24493)",
                           "Columns 1", "Comment Char(20)", "Data", "Point  116.5  39.9853833333333", " .25 -.5", "0.25 -0.5"}));
  const std::pair<const char*, const char*> values[] = {{"WELL01", "WELL01"}, {"", ""}, {"\xCE\xB4", "\xCE\xB4"},
      {"Main St, north", "\"Main St, north\""}, {"say \"hi\"", "\"say \"\"hi\"\"\""}, {"two\r\nlines", "two  lines"},
      {"a,\nb", "\"a, b\""}};
  for (const auto& [value, text] : values) EXPECT_EQ(MidValueText(value), text);
}

}  // namespace
}  // namespace carteloom
