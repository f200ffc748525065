// Route files (.rte) to MIF on arbitrary bytes.
#include "to_mif_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  carteloom::fuzz::ConvertToMif(data, size, ".rte", [](const std::string&, auto& reader, auto out) {
    carteloom::ConvertRouteFile(reader, out);
  });
  return 0;
}
