#include "to_receiver/name_charset.h"

#include "formats/charset_codec.h"
#include "formats/file_routines.h"

namespace carteloom {

std::optional<int> NameCodePage(std::string_view charset, const std::string& midPath) {
  if (IsNeutralCharset(charset)) {
    if (LooksLikeUtf8Names(FileText(midPath))) return kUtf8CodePage;
    return std::nullopt;
  }
  std::optional<int> codePage = CodePageOfMifCharset(charset);
  if (codePage == kGbkCodePage) return std::nullopt;
  return codePage;
}

}  // namespace carteloom
