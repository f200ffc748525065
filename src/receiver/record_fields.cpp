#include "receiver/record_fields.h"

#include "receiver/field_reader.h"

namespace carteloom {

std::optional<Position> RecordPosition::Take(int number, std::string_view field) {
  using namespace waypoint_field;
  switch (number) {
    case kLatitude: position_.latitude = DecimalDegrees(field); break;
    case kLatitudeHemisphere: position_.latitude = WithHemisphere(position_.latitude, field); break;
    case kLongitude:
      position_.longitude = DecimalDegrees(field);
      pending_ = true;
      break;
    case kLongitudeHemisphere:
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
