#include "to_mif/record_fields.h"

#include "formats/field_reader.h"

namespace carteloom {

std::optional<Position> RecordPosition::Take(long long number, std::string_view field) {
  switch (number) {
    case 2: position_.latitude = DecimalDegrees(field, 2); break;
    case 3: position_.latitude = WithHemisphere(position_.latitude, field); break;
    case 4:
      position_.longitude = DecimalDegrees(field, 3);
      pending_ = true;
      break;
    case 5:
      position_.longitude = WithHemisphere(position_.longitude, field);
      return Finish();
    default: break;
  }
  return std::nullopt;
}

std::optional<Position> RecordPosition::Finish() {
  if (!pending_) return std::nullopt;
  pending_ = false;
  return position_;
}

}  // namespace carteloom
