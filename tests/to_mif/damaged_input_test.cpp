// Receiver files damaged at random still convert to a MIF/MID pair that
// agrees with itself, and never crash the converter.
#include <gtest/gtest.h>

#include <random>

#include "support/test_support.h"
#include "to_mif/run_converter.h"

namespace carteloom::testing {
namespace {

// Drops, duplicates or empties some fields of the text.
std::string Damaged(const std::string& text, std::mt19937& random) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == ',' || text[i] == '\n') {
      pieces.push_back(text.substr(start, i + 1 - start));
      start = i + 1;
    }
  }
  std::string out;
  for (const std::string& piece : pieces) {
    switch (random() % 12) {
      case 0: break;
      case 1: out += piece + piece; break;
      case 2: out += piece.back() == ',' || piece.back() == '\n' ? piece.substr(piece.size() - 1) : ""; break;
      default: out += piece;
    }
  }
  return out;
}

TEST(ToMifConverters, DamagedFilesStillGiveAConsistentPair) {
  const std::string well = CrLf({"$PZTJFMT,WGS84", "$PZTJWPL,3959.1234,N,11630.5000,E,0000000,M,A,,a*45",
                                 "$PZTJWPL,3959.1234,S,11630.5000,W,0000000,M,B,,a*45",
                                 "$PZTJWPL,3959.1234,N,11630.5000,E,0000000,M,C,,a*45"});
  const std::string track = CrLf({"$PZTJTRK,3954.1230,N,11623.5000,E,0,M,0,0,1,0*00",
                                  "$PZTJTRK,3954.1230,S,11623.5000,W,0,M,0,0,1,0*00",
                                  "$PZTJTRK,3954.1230,N,11623.5000,E,0,M,0,0,1,0*00", "$PZTJCMD,END*3D"});
  const std::string routes = well + CrLf({"$PZTJRTE,1,1,c,1,R1,A,a,B,a*00", "$PZTJRTE,1,1,c,1,R2,C,a,,a*00",
                                          "$PZTJCMD,END*3D"});
  std::mt19937 random(20240607);
  for (int round = 0; round < 150; ++round) {
    for (const auto& [kind, text] : {std::pair{Kind::Waypoints, well}, std::pair{Kind::TrackLog, track},
                                     std::pair{Kind::Routes, routes}}) {
      std::string source = Damaged(text, random);
      SCOPED_TRACE(source);
      ExpectConsistentPair(RunConverter(kind, source));
    }
  }
}

}  // namespace
}  // namespace carteloom::testing
