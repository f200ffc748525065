#pragma once
// One receiver-file converter on arbitrary bytes: the source is written to
// the scratch folder, converted as the batch converts it, and the MIF/MID
// pair checked.
#include <cmath>
#include <cstdint>
#include <exception>
#include <string>

#include "formats/mif_reader.h"
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
  std::string mif = ReadFileBytes(ScratchPath("out.mif"));
  std::size_t objects = CheckOwnMif(mif, ReadFileBytes(ScratchPath("out.mid")));
  // What we write, we read back object for object and vertex for vertex.
  MifScanner scanner(mif);
  MifObject object;
  std::size_t readBack = 0;
  while (scanner.Next(object)) {
    ++readBack;
    for (const MifVertex& v : object.vertices) Require(std::isfinite(v.x) && std::isfinite(v.y), "vertex read back");
  }
  Require(readBack == objects, "the MIF reads back as " + std::to_string(readBack) + " objects, not " +
                                   std::to_string(objects));
  return objects;
}

}  // namespace carteloom::fuzz
