#include "to_receiver/receiver_sentences.h"

#include <cmath>

#include "formats/number_text.h"
#include "formats/output_file.h"
#include "formats/put_text.h"
#include "formats/sentence.h"

namespace carteloom {

void MakeSentenceSafe(std::string& name) {
  for (char& c : name)
    if (c == ',' || c == '*' || c == '$' || c == '\r' || c == '\n') c = '_';
}

std::string SentenceSafeName(std::string_view name) {
  std::string safe(name);
  MakeSentenceSafe(safe);
  return safe;
}

char* PutGeneratedWaypointName(char* out, std::uint64_t number, std::uint64_t route) {
  out = PutIntegerText(PutText(out, "WPT"), number, 3);
  if (route == 0) return out;
  *out++ = '_';
  return PutIntegerText(out, route);
}

void WriteWaypointSentence(OutputFile& out, const MifVertex& position, std::string_view altitude,
                           std::string_view name) {
  constexpr std::size_t kFixed = 2 * kMaxDegreesMinutesText + 32 + kSentenceFrame;
  char* const start = out.Room(kFixed + altitude.size() + name.size());
  char* p = PutText(start, "$PZTJWPL,");
  p = PutDegreesMinutesText(p, std::fabs(position.y), 2);
  p = PutText(p, position.y < 0 ? ",S," : ",N,");
  p = PutDegreesMinutesText(p, std::fabs(position.x), 3);
  p = PutText(p, position.x < 0 ? ",W," : ",E,");
  p = PutText(PutText(p, altitude), ",M,");
  p = PutText(PutText(p, name), ",,a");
  out.Advance(PutSentenceEnd(start, p));
}

}  // namespace carteloom
