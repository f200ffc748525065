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

// ddmm.mmm (width 2) or dddmm.mmm (width 3) for non-negative degrees. The
// minutes are rounded to three decimals with no carry into the degrees.
std::string DegreesMinutesText(double degrees, int width);
void AppendDegreesMinutesText(std::string& out, double degrees, int width);

// A coordinate as its two sentence fields: the text of its magnitude and
// the hemisphere letter ("N"/"S" for a latitude, "E"/"W" for a longitude).
struct CoordinateFields {
  std::string text;
  char hemisphere;
};
CoordinateFields LatitudeFields(double latitude);
CoordinateFields LongitudeFields(double longitude);

}  // namespace carteloom
