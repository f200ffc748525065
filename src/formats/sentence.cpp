#include "formats/sentence.h"

#include <bit>
#include <charconv>
#include <cstdint>
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
  unsigned value = 0;
  for (char c : body) value ^= static_cast<unsigned char>(c);
  static constexpr char kHex[] = "0123456789ABCDEF";
  const char tail[] = {'*', kHex[value >> 4], kHex[value & 0xF]};
  out.Write('$');
  out.Write(body);
  out.WriteLine(std::string_view(tail, sizeof tail));
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

// Thousandths of minutes in [0, 64), rounded half up, computed exactly: the
// double is m / 2^shift, so the rounding is decided by the bits of m * 1000
// that the shift drops.
std::uint64_t Thousandths(double minutes) {
  if (minutes == 0) return 0;
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(minutes);
  const int biased = static_cast<int>(bits >> 52);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  const std::uint64_t m = biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
  const int shift = biased == 0 ? 1074 : 1075 - biased;  // at least 47 below 64
  const std::uint64_t product = m * 1000;                 // below 2^63
  if (shift > 63) return 0;                               // below half a thousandth
  const std::uint64_t whole = product >> shift;
  const std::uint64_t half = std::uint64_t{1} << (shift - 1);
  return whole + ((product & ((half << 1) - 1)) >= half ? 1 : 0);
}

}  // namespace

void AppendDegreesMinutesText(std::string& out, double degrees, int width) {
  if (!std::isfinite(degrees) || degrees < 0) degrees = 0;
  double whole = std::floor(degrees);
  double minutes = (degrees - whole) * 60;
  char buf[400];
  // Coordinates: whole degrees and minutes fit in integers.
  const bool small = !std::signbit(whole) && whole < 9e15 && minutes < 64;
  char* end = small ? std::to_chars(buf, buf + sizeof buf, static_cast<std::uint64_t>(whole)).ptr
                    : std::to_chars(buf, buf + sizeof buf, whole, std::chars_format::fixed, 0).ptr;
  const int digits = static_cast<int>(end - buf);
  if (digits < width) out.append(static_cast<std::size_t>(width - digits), '0');
  out.append(buf, end);
  if (!small) {
    out.append(MinutesText(minutes));
    return;
  }
  const std::uint64_t t = Thousandths(minutes);
  const char text[6] = {static_cast<char>('0' + t / 10000), static_cast<char>('0' + t / 1000 % 10), '.',
                        static_cast<char>('0' + t / 100 % 10), static_cast<char>('0' + t / 10 % 10),
                        static_cast<char>('0' + t % 10)};
  out.append(text, sizeof text);
}

std::string DegreesMinutesText(double degrees, int width) {
  std::string text;
  AppendDegreesMinutesText(text, degrees, width);
  return text;
}

CoordinateFields LatitudeFields(double latitude) {
  return {DegreesMinutesText(std::fabs(latitude), 2), latitude < 0 ? 'S' : 'N'};
}

CoordinateFields LongitudeFields(double longitude) {
  return {DegreesMinutesText(std::fabs(longitude), 3), longitude < 0 ? 'W' : 'E'};
}

}  // namespace carteloom
