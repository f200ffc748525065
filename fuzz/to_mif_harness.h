#pragma once
// One receiver-file converter on arbitrary bytes: the source is written to
// the scratch folder, converted as the batch converts it, and the MIF/MID
// pair checked.
#include <cstdint>
#include <exception>
#include <string>

#include "formats/output_file.h"
#include "fuzz_support.h"
#include "to_mif/converters.h"

namespace carteloom::fuzz {

// convert(sourcePath, reader, outputs) runs one converter.
template <typename Convert>
std::size_t ConvertToMif(const std::uint8_t* data, std::size_t size, const std::string& suffix, Convert convert) {
  ClearScratch();
  const std::string source = ScratchPath("source" + suffix);
  WriteFileBytes(source, std::string_view(reinterpret_cast<const char*>(data), size));
  try {
    FieldReader reader(source);
    OutputFile mif(ScratchPath("out.mif"));
    OutputFile mid(ScratchPath("out.mid"));
    convert(source, reader, MifOutputs{mif, mid});
    mid.Commit();
    mif.Commit();
  } catch (const std::exception& error) {
    // Every byte sequence is a receiver file of some sort: nothing may be refused.
    Fail(std::string("conversion threw: ") + error.what());
  }
  return CheckOwnMif(ReadFileBytes(ScratchPath("out.mif")), ReadFileBytes(ScratchPath("out.mid")));
}

}  // namespace carteloom::fuzz
