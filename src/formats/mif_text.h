#pragma once
// The MIF header this system writes, and MID values as a GIS reads them.
#include <string>
#include <string_view>

namespace carteloom {

class OutputFile;

inline constexpr std::string_view kDefaultMifCharset = "Neutral";
inline constexpr std::string_view kWgs84Clause = "CoordSys Earth Projection 1, 104";

// The seven header lines, from "Version 300" to "Data".
void WriteMifHeader(OutputFile& mif, std::string_view charset = kDefaultMifCharset);

// prefix, x and y as padded numbers with a blank between, CR LF:
// "Point  116.5  39.9" for the prefix "Point ", " 116.5  39.9" for none.
void WriteCoordinateLine(OutputFile& mif, std::string_view prefix, double x, double y);

// A MID value as written: unchanged, unless it holds "," or a double quote;
// then in double quotes with inner quotes doubled, so it stays one column.
// CR and LF become blanks, so it stays one row.
std::string MidValueText(std::string_view value);

}  // namespace carteloom
