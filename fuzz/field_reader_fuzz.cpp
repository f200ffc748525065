// The field reader and the number readers on arbitrary bytes; the same
// bytes as a waypoint's name, written and read back.
#include <algorithm>
#include <cmath>

#include "fuzz_support.h"
#include "receiver/field_reader.h"
#include "receiver/receiver_sentences.h"
#include "receiver/record_reader.h"

using namespace carteloom;
using carteloom::fuzz::Require;

namespace {
// The name as a reader gets it back: blanks before it gone, the bytes that
// would end a field or a sentence and a quote that starts it made "_".
std::string Cleaned(std::string name) {
  name.erase(0, std::min(name.size(), name.find_first_not_of(" \t")));
  for (char& c : name)
    if (c == ',' || c == '*' || c == '$' || c == '\r' || c == '\n') c = '_';
  if (!name.empty() && name[0] == '"') name[0] = '_';
  return name;
}

// A waypoint named name, then one named NEXT: the first reads back as the
// cleaned name, the second whole.
void RequireNameReadsBack(const std::string& name) {
  const std::string path = carteloom::fuzz::FileHolding("");
  {
    OutputFile out(path);
    for (std::string_view each : {std::string_view(name), std::string_view("NEXT")})
      WriteWaypointSentence(out, {116, 39}, kWaypointAltitude, [&](Sentence& s) { s.Name(each); });
    out.Commit();
  }
  FieldReader source(path);
  RecordReader records(source, waypoint_field::kLast, false, kAllFields);
  ReceiverRecord record;
  Require(records.Next(record) && record.Field(waypoint_field::kName) == Cleaned(name), "a name read back otherwise");
  Require(records.Next(record) && record.Field(waypoint_field::kName) == "NEXT" &&
              record.fieldCount == waypoint_field::kLast && !records.Next(record),
          "the record after a name is not whole");
}
}  // namespace

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
    // The numbers are finite, and degrees keep the number's sign.
    const double value = LeadingNumber(field), degrees = DecimalDegrees(field);
    Require(std::isfinite(value) && std::isfinite(degrees) && ((degrees < 0) == (value < 0) || degrees == 0),
            "a number not finite, or degrees of another sign");
  }
  Require(size == 0 || fields > 0, "a non-empty input gave no field");
  RequireNameReadsBack(text.substr(0, 256));
  return 0;
}
