// PLACEHOLDER: replaced by the real converter.
#include "to_mif/converters.h"
namespace carteloom {
void ConvertTrackLog(const std::string&, FieldReader&, MifOutputs out) { WriteMifHeader(out.mif, out.charset); }
std::int64_t CountRecordsBeforeRoute(const std::string&) { return 0; }
}
