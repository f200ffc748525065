// The field reader and the number readers on arbitrary bytes.
#include <cmath>

#include "fuzz_support.h"
#include "receiver/field_reader.h"

using namespace carteloom;
using carteloom::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  FieldReader reader = FieldReader::FromText(text);
  std::size_t fields = 0, bytes = 0;
  while (!reader.AtEnd()) {
    const std::string_view field = reader.ReadField();
    // Every read consumes at least one byte, and a field is bytes of the input.
    bytes += field.size();
    Require(++fields <= size && bytes <= size, "more fields, or field bytes, than the input has");
    Require(text.find('"') != std::string::npos || field.find_first_of(",\n") == std::string_view::npos,
            "a comma or LF in an unquoted field");
    // The numbers are finite, and the sign only ever flips the value.
    const double value = LeadingNumber(field), degrees = DecimalDegrees(field);
    Require(std::isfinite(value) && std::isfinite(degrees) && ((degrees < 0) == (value < 0) || degrees == 0),
            "a number not finite, or degrees of another sign");
    std::string flipped(field);
    const std::size_t sign = flipped.find_first_not_of(" \t\r\n");
    if (sign != std::string::npos && flipped[sign] == '-')
      Require(LeadingNumber(flipped.replace(sign, 1, "+")) == -value, "the sign changes more than the sign");
  }
  Require(size == 0 || fields > 0, "a non-empty input gave no field");
  return 0;
}
