// The field reader and the number readers on arbitrary bytes.
#include <cmath>
#include <cstdint>
#include <string>

#include "formats/field_reader.h"
#include "fuzz_support.h"

using namespace carteloom;
using carteloom::fuzz::Require;

namespace {

void CheckNumbers(std::string_view field) {
  double value = LeadingNumber(field);
  Require(std::isfinite(value), "LeadingNumber not finite");
  // The sign only ever flips the value.
  std::size_t i = field.find_first_not_of(" \t\r\n");
  if (i != std::string_view::npos && field[i] == '-') {
    std::string unsigned_(field);
    unsigned_[i] = '+';
    Require(LeadingNumber(unsigned_) == -value, "sign changes more than the sign");
  }
  for (int width : {2, 3}) {
    double degrees = DecimalDegrees(field, width);
    Require(std::isfinite(degrees), "DecimalDegrees not finite");
    Require((degrees < 0) == (value < 0) || degrees == 0, "DecimalDegrees changed the sign");
  }
  Require(WithHemisphere(value, "S") == -value && WithHemisphere(value, "N") == value, "hemisphere");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  FieldReader reader = FieldReader::FromText(text);
  std::size_t fields = 0;
  std::size_t bytes = 0;
  while (!reader.AtEnd()) {
    std::string_view field = reader.ReadField();
    ++fields;
    bytes += field.size();
    // Every read consumes at least one byte, so the count is bounded.
    Require(fields <= size, "more fields than bytes");
    // A field is bytes of the input, never more than there are.
    Require(bytes <= size, "fields hold more bytes than the input");
    bool quoted = text.find('"') != std::string::npos;
    if (!quoted) {
      Require(field.find(',') == std::string_view::npos, "comma inside an unquoted field");
      Require(field.find('\n') == std::string_view::npos, "LF inside an unquoted field");
    }
    CheckNumbers(field);
  }
  Require(size == 0 || fields > 0, "a non-empty input gave no field");
  return 0;
}
