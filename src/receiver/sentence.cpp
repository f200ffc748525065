#include "receiver/sentence.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "files/number_text.h"
#include "files/output_file.h"

namespace carteloom {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

unsigned XorOfBytes(const char* p, std::size_t n) {
  unsigned x = 0;
  for (; n > 0; --n) x ^= static_cast<unsigned char>(*p++);
  return x;
}

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

// Whole degrees padded with zeros to width (at most 3), then the minutes.
char* PutDegrees(char* out, unsigned whole, int width) {
  const int digits = whole < 10 ? 1 : whole < 100 ? 2 : 3;
  for (int i = digits; i < width; ++i) *out++ = '0';
  if (digits == 3) *out++ = static_cast<char>('0' + whole / 100);
  if (digits >= 2) *out++ = static_cast<char>('0' + whole / 10 % 10);
  *out++ = static_cast<char>('0' + whole % 10);
  return out;
}

char* PutThousandths(char* out, std::uint64_t t) {
  out[0] = static_cast<char>('0' + t / 10000);
  out[1] = static_cast<char>('0' + t / 1000 % 10);
  out[2] = '.';
  out[3] = static_cast<char>('0' + t / 100 % 10);
  out[4] = static_cast<char>('0' + t / 10 % 10);
  out[5] = static_cast<char>('0' + t % 10);
  return out + 6;
}

}  // namespace

char* PutDegreesMinutesText(char* out, double degrees, int width) {
  if (!std::isfinite(degrees) || degrees < 0) degrees = 0;
  if (degrees < 1000 && width <= 3) {
    // Every coordinate: whole degrees in an int, which is floor() here.
    const unsigned whole = static_cast<unsigned>(degrees);
    return PutThousandths(PutDegrees(out, whole, width), Thousandths((degrees - whole) * 60));
  }
  double whole = std::floor(degrees);
  double minutes = (degrees - whole) * 60;
  char buf[kMaxDegreesMinutesText];
  // Whole degrees and minutes that fit in integers take the exact route.
  const bool small = whole < 9e15 && minutes < 64;
  char* end = small ? std::to_chars(buf, buf + sizeof buf, static_cast<std::uint64_t>(whole)).ptr
                    : std::to_chars(buf, buf + sizeof buf, whole, std::chars_format::fixed, 0).ptr;
  const int digits = static_cast<int>(end - buf);
  for (int i = digits; i < width; ++i) *out++ = '0';
  std::memcpy(out, buf, static_cast<std::size_t>(digits));
  out += digits;
  if (small) return PutThousandths(out, Thousandths(minutes));
  const std::string text = MinutesText(minutes);
  std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

// The sentence so far is handed to the output, which may write it out to
// make room; what it held is in the checksum already.
void Sentence::Grow(std::size_t n) {
  checksum_ ^= XorOfBytes(summed_, static_cast<std::size_t>(p_ - summed_));
  out_.Advance(p_);
  const std::size_t room = std::max(n, kRoom);
  summed_ = p_ = out_.Room(room);
  limit_ = p_ + room;
}

Sentence& Sentence::Name(std::string_view name) {
  // A reader skips the blanks before a field and takes one that then starts
  // with a double quote as quoted: such a name would swallow the fields after it.
  name.remove_prefix(std::min(name.size(), name.find_first_not_of(" \t")));
  char* p = Reserve(name.size());
  for (char c : name) *p++ = c == ',' || c == '*' || c == '$' || c == '\r' || c == '\n' ? '_' : c;
  if (!name.empty() && name.front() == '"') p[-static_cast<std::ptrdiff_t>(name.size())] = '_';
  p_ = p;
  return *this;
}

void Sentence::End() {
  const unsigned checksum = checksum_ ^ XorOfBytes(summed_, static_cast<std::size_t>(p_ - summed_));
  char* p = Reserve(5);
  p[0] = '*';
  p[1] = kHex[checksum >> 4];
  p[2] = kHex[checksum & 0xF];
  p[3] = '\r';
  p[4] = '\n';
  out_.Advance(p + 5);
}

}  // namespace carteloom
