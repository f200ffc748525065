#pragma once
// The sentences of the waypoint and route files written from MIF layers,
// built in the output's own buffer.
#include <cstdint>
#include <string>
#include <string_view>

#include "formats/mif_reader.h"

namespace carteloom {

class OutputFile;

// Altitude fields: waypoint files carry none, the waypoints of a route file -5 m.
inline constexpr std::string_view kWaypointAltitude = "0000000";
inline constexpr std::string_view kRouteWaypointAltitude = "-000005";

// The name with "," "*" "$" CR and LF replaced by "_", so that it can add
// no field and no sentence. Every other byte is kept.
std::string SentenceSafeName(std::string_view name);
void MakeSentenceSafe(std::string& name);

// The longest generated waypoint name.
inline constexpr std::size_t kMaxGeneratedName = 44;
// "WPT" + number with three digits at least + "_" + route (when route is
// not 0): WPT001_1, written at out; returns the end.
char* PutGeneratedWaypointName(char* out, std::uint64_t number, std::uint64_t route = 0);

// "$PZTJWPL,ddmm.mmm,N,dddmm.mmm,E,altitude,M,name,,a*hh" CR LF; name must be safe.
void WriteWaypointSentence(OutputFile& out, const MifVertex& position, std::string_view altitude,
                           std::string_view name);

}  // namespace carteloom
