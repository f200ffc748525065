#pragma once
// A position as both formats hold it: longitude and latitude in decimal
// degrees, WGS 84. MIF files give the longitude first (x), receiver files
// the latitude.

namespace carteloom {

struct Position {
  double longitude = 0;
  double latitude = 0;
};

}  // namespace carteloom
