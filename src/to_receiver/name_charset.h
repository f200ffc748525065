#pragma once
// Which character set the MID names of a layer are in, so that they reach
// the receiver as GBK whatever tool wrote the pair.
#include <optional>
#include <string>
#include <string_view>

namespace carteloom {

// The value of the header's Charset clause, without its quotes; empty without one.
std::string MifCharsetName(std::string_view mifHeader);

// The code page to recode the names from, or nothing when they are taken as
// the GBK bytes they are: "WindowsSimpChinese", an unknown charset, and
// "Neutral" (or no clause) unless the MID file is UTF-8 with non-ASCII names,
// as GDAL and QGIS write it. Throws FileError when the MID cannot be read.
std::optional<int> NameCodePage(std::string_view mifHeader, const std::string& midPath);

}  // namespace carteloom
