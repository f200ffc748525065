// Track logs (.log) to MIF on arbitrary bytes: at most one Pline, and a log
// that yields a vertex yields exactly one.
#include "to_mif_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::size_t objects = carteloom::fuzz::ConvertToMif(
      data, size, ".log",
      [](const std::string& path, auto& reader, auto out) { carteloom::ConvertTrackLog(path, reader, out); });
  carteloom::fuzz::Require(objects <= 1, "a track log gave more than one object");
  return 0;
}
