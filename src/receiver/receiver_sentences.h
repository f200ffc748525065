#pragma once
// The sentences of the waypoint and route files the writers make.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "files/position.h"
#include "receiver/records.h"
#include "receiver/sentence.h"

namespace carteloom {

// "WPT" + number with three digits at least, + "_" + route unless route is 0: WPT001_1.
inline Sentence& GeneratedName(Sentence& sentence, std::uint64_t number, std::uint64_t route = 0) {
  sentence.Text("WPT").Number(number, 3);
  if (route != 0) sentence.Text("_").Number(route);
  return sentence;
}

// The altitude field of a height in metres: seven characters, whole metres
// padded with zeros, "-" before the digits of a negative one ("0000050",
// "-000005"), as receivers write it; a height beyond them is held at the
// nearest they can. NaN gives otherwise. The text is built in buffer.
inline std::string_view AltitudeText(double metres, std::string_view otherwise, char (&buffer)[8]) {
  if (metres != metres) return otherwise;
  const double rounded = metres < 0 ? -std::floor(0.5 - metres) : std::floor(metres + 0.5);
  const bool negative = rounded < 0;
  const double magnitude = std::min(negative ? -rounded : rounded, negative ? 999999.0 : 9999999.0);
  char* p = buffer;
  if (negative) *p++ = '-';
  p = PutIntegerText(p, static_cast<std::uint64_t>(magnitude), negative ? 6 : 7);
  return {buffer, static_cast<std::size_t>(p - buffer)};
}

// "$PZTJWPL,ddmm.mmm,N,dddmm.mmm,E,altitude,M,name,,a*hh" CR LF, the name
// written by writeName(Sentence&). South and west give "S" and "W".
template <typename WriteName>
void WriteWaypointSentence(OutputFile& out, const Position& position, std::string_view altitude,
                           WriteName&& writeName) {
  Sentence sentence(out, kWaypointTag);
  sentence.Text(",").DegreesMinutes(position.latitude < 0 ? -position.latitude : position.latitude, 2);
  sentence.Text(position.latitude < 0 ? ",S," : ",N,").DegreesMinutes(position.longitude < 0 ? -position.longitude : position.longitude, 3);
  sentence.Text(position.longitude < 0 ? ",W," : ",E,").Text(altitude).Text(",M,");
  writeName(sentence);
  sentence.Text(",,a").End();
}

}  // namespace carteloom
