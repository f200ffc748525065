#include "formats/sentence.h"

#include <charconv>
#include <cmath>

#include "formats/output_file.h"

namespace carteloom {

std::string SentenceChecksum(std::string_view body) {
  unsigned value = 0;
  for (char c : body) value ^= static_cast<unsigned char>(c);
  static constexpr char kHex[] = "0123456789ABCDEF";
  return {kHex[value >> 4], kHex[value & 0xF]};
}

void WriteSentence(OutputFile& out, std::string_view body) {
  out.Write('$');
  out.Write(body);
  out.Write('*');
  out.WriteLine(SentenceChecksum(body));
}

namespace {

// Minutes rounded to three decimals, half away from zero, with at least two
// integer digits. to_chars rounds an exact tie to even, so ties are settled
// here: a tie is a value whose double of 2000 times is exactly an odd whole.
std::string MinutesText(double minutes) {
  char buf[400];
  double scaled = minutes * 2000;
  bool exact = std::fma(minutes, 2000.0, -scaled) == 0;
  double rounded = minutes;
  if (exact && std::fabs(scaled) < 9e15 && std::fmod(scaled, 2.0) == 1.0) rounded = (scaled + 1) / 2000;
  auto res = std::to_chars(buf, buf + sizeof buf, rounded, std::chars_format::fixed, 3);
  std::string text(buf, res.ptr);
  if (text.size() < 6) text.insert(0, 6 - text.size(), '0');  // "5.000" -> "05.000"
  return text;
}

}  // namespace

std::string DegreesMinutesText(double degrees, int width) {
  if (!std::isfinite(degrees) || degrees < 0) degrees = 0;
  double whole = std::floor(degrees);
  double minutes = (degrees - whole) * 60;
  char buf[400];
  auto res = std::to_chars(buf, buf + sizeof buf, whole, std::chars_format::fixed, 0);
  std::string text(buf, res.ptr);
  if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
  return text + MinutesText(minutes);
}

CoordinateFields LatitudeFields(double latitude) {
  return {DegreesMinutesText(std::fabs(latitude), 2), latitude < 0 ? 'S' : 'N'};
}

CoordinateFields LongitudeFields(double longitude) {
  return {DegreesMinutesText(std::fabs(longitude), 3), longitude < 0 ? 'W' : 'E'};
}

}  // namespace carteloom
