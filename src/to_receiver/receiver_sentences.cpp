#include "to_receiver/receiver_sentences.h"

#include <cmath>

#include "formats/number_text.h"
#include "formats/sentence.h"

namespace carteloom {

std::string SentenceSafeName(std::string_view name) {
  std::string safe(name);
  for (char& c : safe)
    if (c == ',' || c == '*' || c == '$' || c == '\r' || c == '\n') c = '_';
  return safe;
}

void AppendGeneratedWaypointName(std::string& out, std::uint64_t vertex, std::uint64_t route) {
  out.append("WPT");
  AppendIntegerText(out, static_cast<std::int64_t>(vertex), 3);
  out.push_back('_');
  AppendIntegerText(out, static_cast<std::int64_t>(route));
}

std::string GeneratedWaypointName(std::uint64_t number) {
  std::string name = "WPT";
  AppendIntegerText(name, static_cast<std::int64_t>(number), 3);
  return name;
}

std::string GeneratedWaypointName(std::uint64_t vertex, std::uint64_t route) {
  std::string name;
  AppendGeneratedWaypointName(name, vertex, route);
  return name;
}

void AppendWaypointBody(std::string& body, const MifVertex& position, std::string_view altitude,
                        std::string_view name) {
  body.append("PZTJWPL,");
  AppendDegreesMinutesText(body, std::fabs(position.y), 2);
  body.append(position.y < 0 ? ",S," : ",N,");
  AppendDegreesMinutesText(body, std::fabs(position.x), 3);
  body.append(position.x < 0 ? ",W," : ",E,");
  body.append(altitude).append(",M,").append(name).append(",,a");
}

std::string WaypointBody(const MifVertex& position, std::string_view altitude, std::string_view name) {
  std::string body;
  AppendWaypointBody(body, position, altitude, name);
  return body;
}

}  // namespace carteloom
