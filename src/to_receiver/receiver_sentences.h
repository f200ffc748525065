#pragma once
// The sentence bodies of the waypoint and route files written from MIF layers.
#include <cstdint>
#include <string>
#include <string_view>

#include "formats/mif_reader.h"

namespace carteloom {

// Altitude fields: waypoint files carry none, the waypoints of a route file -5 m.
inline constexpr std::string_view kWaypointAltitude = "0000000";
inline constexpr std::string_view kRouteWaypointAltitude = "-000005";

// The name with "," "*" "$" CR and LF replaced by "_", so that it can add
// no field and no sentence. Every other byte is kept.
std::string SentenceSafeName(std::string_view name);

// "WPT" + number with three digits at least + optional "_" + route: WPT001_1.
std::string GeneratedWaypointName(std::uint64_t number);
std::string GeneratedWaypointName(std::uint64_t vertex, std::uint64_t route);
// The same appended to out.
void AppendGeneratedWaypointName(std::string& out, std::uint64_t vertex, std::uint64_t route);

// "PZTJWPL,ddmm.mmm,N,dddmm.mmm,E,altitude,M,name,,a"; name must be safe.
std::string WaypointBody(const MifVertex& position, std::string_view altitude, std::string_view name);
void AppendWaypointBody(std::string& body, const MifVertex& position, std::string_view altitude,
                        std::string_view name);

}  // namespace carteloom
