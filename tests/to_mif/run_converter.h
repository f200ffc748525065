#pragma once
// Runs one receiver-file converter the way the batch does and checks the
// shape of what it wrote.
#include <string>
#include <vector>

namespace carteloom::testing {

enum class Kind { Waypoints, TrackLog, Routes };

struct Converted {
  std::string mif;
  std::string mid;
};

// Writes the source bytes to a file called fileName, converts it, and returns both outputs.
Converted RunConverter(Kind kind, const std::string& source, const std::string& fileName = "source");

// The lines of a MIF file after its seven header lines, which must be the fixed header.
std::vector<std::string> DataLines(const std::string& mif);
std::vector<std::string> Lines(const std::string& text);

// Adds a test failure unless every "Pline" count matches the vertex lines
// that follow it, each Point has its Symbol, and the MID has one row per object.
void ExpectConsistentPair(const Converted& out);

}  // namespace carteloom::testing
