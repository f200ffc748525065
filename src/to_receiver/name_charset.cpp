#include "to_receiver/name_charset.h"

#include <cctype>

#include "formats/charset_codec.h"
#include "formats/file_routines.h"
#include "formats/paths.h"

namespace carteloom {
namespace {

bool StartsWithKeyword(std::string_view line, std::string_view keyword) {
  if (line.size() <= keyword.size()) return false;
  for (std::size_t i = 0; i < keyword.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(line[i])) != std::tolower(static_cast<unsigned char>(keyword[i])))
      return false;
  return line[keyword.size()] == ' ' || line[keyword.size()] == '\t';
}

}  // namespace

std::string MifCharsetName(std::string_view mifHeader) {
  while (!mifHeader.empty()) {
    std::size_t end = mifHeader.find('\n');
    std::string_view line = Trimmed(mifHeader.substr(0, end));
    if (!line.empty() && line.back() == '\r') line = Trimmed(line.substr(0, line.size() - 1));
    if (StartsWithKeyword(line, "Charset")) {
      std::string_view value = Trimmed(line.substr(7));
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
      return std::string(value);
    }
    if (end == std::string_view::npos) break;
    mifHeader.remove_prefix(end + 1);
  }
  return {};
}

std::optional<int> NameCodePage(std::string_view mifHeader, const std::string& midPath) {
  std::string charset = MifCharsetName(mifHeader);
  if (charset.empty() || (charset.size() == 7 && StartsWithKeyword(charset + " ", "Neutral"))) {
    if (IsUtf8WithNonAscii(FileText(midPath))) return kUtf8CodePage;
    return std::nullopt;
  }
  std::optional<int> codePage = CodePageOfMifCharset(charset);
  if (codePage == kGbkCodePage) return std::nullopt;
  return codePage;
}

}  // namespace carteloom
