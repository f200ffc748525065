#pragma once
// Which character set the MID names of a layer are in, so that they reach
// the receiver as GBK whatever tool wrote the pair.
#include <optional>
#include <string>
#include <string_view>

namespace carteloom {

// The code page to recode the names from, given the header's Charset value,
// or nothing when they are taken as the GBK bytes they are:
// "WindowsSimpChinese", an unknown charset, and "Neutral" (or no clause)
// unless the MID file reads as UTF-8 names, as GDAL and QGIS write them.
// Throws FileError when the MID cannot be read.
std::optional<int> NameCodePage(std::string_view charset, const std::string& midPath);

}  // namespace carteloom
