#include "to_mif/converters.h"
#include "to_mif/record_fields.h"

namespace carteloom {

std::int64_t CountRecordsBeforeRoute(const std::string& path) {
  FieldReader reader(path);
  std::int64_t count = 0;
  while (!reader.AtEnd() && reader.ReadField() != kRouteTag) ++count;
  return count;
}

}  // namespace carteloom
