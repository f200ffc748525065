// PLACEHOLDER: replaced by the real converter.
#include "to_mif/converters.h"
namespace carteloom {
void ConvertRouteFile(FieldReader&, MifOutputs out) { WriteMifHeader(out.mif, out.charset); }
}
