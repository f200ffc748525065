#pragma once
// The MIF header this system writes, and MID values as a GIS reads them.
#include <string>
#include <string_view>

namespace carteloom {

class OutputFile;

inline constexpr std::string_view kDefaultMifCharset = "Neutral";

// The seven header lines, from "Version 300" to "Data".
void WriteMifHeader(OutputFile& mif, std::string_view charset = kDefaultMifCharset);

// prefix, x and y with a blank between, CR LF. Padded numbers give
// "Point  116.5  39.9" for the prefix "Point ", " 116.5  39.9" for none;
// plain ones "116.5 39.9".
void WriteCoordinateLine(OutputFile& mif, std::string_view prefix, double x, double y, bool padded = true);

// A MID value as written: unchanged, unless it holds "," or a double quote;
// then in double quotes with inner quotes doubled, so it stays one column.
// CR and LF become blanks, so it stays one row.
std::string MidValueText(std::string_view value);

}  // namespace carteloom
