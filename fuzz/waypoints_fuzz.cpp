// Waypoint files (.upt) to MIF on arbitrary bytes.
#include "to_mif_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  carteloom::fuzz::ConvertToMif(data, size, ".upt", [](const std::string&, auto& reader, auto out) {
    carteloom::ConvertWaypointFile(reader, out);
  });
  return 0;
}
