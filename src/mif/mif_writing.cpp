#include "mif/mif_writing.h"

#include <cstring>

#include "files/number_text.h"
#include "files/output_file.h"

namespace carteloom {

void WriteMifHeader(OutputFile& mif, std::string_view charset) {
  mif.WriteLine("Version 300");
  mif.WriteLine("Charset \"" + std::string(charset) + "\"");
  mif.WriteLine("Delimiter \",\"");
  mif.WriteLine("CoordSys Earth Projection 1, 104 Bounds (76.74848, 18.23792) (131.1559, 50.24493)");
  mif.WriteLine("Columns 1");
  mif.WriteLine("Comment Char(20)");
  mif.WriteLine("Data");
}

void WriteCoordinateLine(OutputFile& mif, std::string_view prefix, double x, double y, bool padded) {
  char* const start = mif.Room(prefix.size() + 2 * kMaxNumberText + 3);
  if (!prefix.empty()) std::memcpy(start, prefix.data(), prefix.size());
  char* p = PutNumberText(start + prefix.size(), x, padded);
  *p++ = ' ';
  p = PutNumberText(p, y, padded);
  *p++ = '\r';
  *p++ = '\n';
  mif.Advance(p);
}

std::string MidValueText(std::string_view value) {
  // One pass over the bytes; find_first_of would search the set for each of them.
  bool quote = false;
  bool lineBreak = false;
  for (char c : value) {
    quote |= c == ',' || c == '"';
    lineBreak |= c == '\r' || c == '\n';
  }
  if (!quote && !lineBreak) return std::string(value);
  // A line break would start a second row; it can only come from a damaged
  // quoted field, and a blank keeps the row whole.
  std::string out = quote ? "\"" : "";
  for (char c : value) {
    if (c == '"') out.push_back('"');
    out.push_back(c == '\r' || c == '\n' ? ' ' : c);
  }
  if (quote) out.push_back('"');
  return out;
}

}  // namespace carteloom
