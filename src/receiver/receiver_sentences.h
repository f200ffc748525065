#pragma once
// The sentences of the waypoint and route files written from MIF layers.
#include <cstdint>
#include <string_view>

#include "mif/mif_scanner.h"
#include "receiver/records.h"
#include "receiver/sentence.h"

namespace carteloom {

// "WPT" + number with three digits at least, + "_" + route unless route is 0: WPT001_1.
inline Sentence& GeneratedName(Sentence& sentence, std::uint64_t number, std::uint64_t route = 0) {
  sentence.Text("WPT").Number(number, 3);
  if (route != 0) sentence.Text("_").Number(route);
  return sentence;
}

// "$PZTJWPL,ddmm.mmm,N,dddmm.mmm,E,altitude,M,name,,a*hh" CR LF, the name
// written by writeName(Sentence&). South and west give "S" and "W".
template <typename WriteName>
void WriteWaypointSentence(OutputFile& out, const MifVertex& position, std::string_view altitude,
                           WriteName&& writeName) {
  Sentence sentence(out, kWaypointTag);
  sentence.Text(",").DegreesMinutes(position.y < 0 ? -position.y : position.y, 2);
  sentence.Text(position.y < 0 ? ",S," : ",N,").DegreesMinutes(position.x < 0 ? -position.x : position.x, 3);
  sentence.Text(position.x < 0 ? ",W," : ",E,").Text(altitude).Text(",M,");
  writeName(sentence);
  sentence.Text(",,a").End();
}

}  // namespace carteloom
