#include "to_receiver/receiver_sentences.h"

#include "formats/number_text.h"
#include "formats/sentence.h"

namespace carteloom {

std::string SentenceSafeName(std::string_view name) {
  std::string safe(name);
  for (char& c : safe)
    if (c == ',' || c == '*' || c == '$' || c == '\r' || c == '\n') c = '_';
  return safe;
}

std::string GeneratedWaypointName(std::uint64_t number) {
  return "WPT" + IntegerText(static_cast<std::int64_t>(number), 3);
}

std::string GeneratedWaypointName(std::uint64_t vertex, std::uint64_t route) {
  return GeneratedWaypointName(vertex) + "_" + IntegerText(static_cast<std::int64_t>(route));
}

std::string WaypointBody(const MifVertex& position, std::string_view altitude, std::string_view name) {
  CoordinateFields latitude = LatitudeFields(position.y);
  CoordinateFields longitude = LongitudeFields(position.x);
  std::string body = "PZTJWPL,";
  body.append(latitude.text).append(",").append(1, latitude.hemisphere).append(",");
  body.append(longitude.text).append(",").append(1, longitude.hemisphere).append(",");
  body.append(altitude).append(",M,").append(name).append(",,a");
  return body;
}

}  // namespace carteloom
