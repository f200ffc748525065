#pragma once
// Receiver sentences: "$" body "*" checksum CR LF, the body being the tag
// and its comma-separated fields.
#include <string>
#include <string_view>

namespace carteloom {

class OutputFile;

inline constexpr std::string_view kEndSentence = "$PZTJCMD,END*3D";

// XOR of the body's bytes, each taken unsigned, as two upper-case hex digits.
std::string SentenceChecksum(std::string_view body);

// Writes "$" + body + "*" + checksum + CR LF.
void WriteSentence(OutputFile& out, std::string_view body);

// The room a sentence needs beyond its body: "$", "*", checksum, CR LF.
inline constexpr std::size_t kSentenceFrame = 6;
// Ends the sentence written from start ("$" and its body up to end) with
// "*", the checksum of the body and CR LF; returns the new end.
char* PutSentenceEnd(const char* start, char* end);

// ddmm.mmm (width 2) or dddmm.mmm (width 3) for non-negative degrees. The
// minutes are rounded to three decimals with no carry into the degrees.
std::string DegreesMinutesText(double degrees, int width);
// The same text written at out, at most kMaxDegreesMinutesText bytes; returns its end.
inline constexpr std::size_t kMaxDegreesMinutesText = 330;
char* PutDegreesMinutesText(char* out, double degrees, int width);

// A coordinate as its two sentence fields: the text of its magnitude and
// the hemisphere letter ("N"/"S" for a latitude, "E"/"W" for a longitude).
struct CoordinateFields {
  std::string text;
  char hemisphere;
};
CoordinateFields LatitudeFields(double latitude);
CoordinateFields LongitudeFields(double longitude);

}  // namespace carteloom
