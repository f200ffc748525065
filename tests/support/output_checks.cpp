#include "support/output_checks.h"

#include <vector>

namespace carteloom::testing {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The lines without their CR LF; false when one lacks it or a CR or LF stands alone.
bool SplitCrLf(std::string_view bytes, std::vector<std::string_view>& lines) {
  while (!bytes.empty()) {
    std::size_t end = bytes.find_first_of("\r\n");
    if (end == std::string_view::npos || bytes.substr(end, 2) != "\r\n") return false;
    lines.push_back(bytes.substr(0, end));
    bytes.remove_prefix(end + 2);
  }
  return true;
}

std::string_view Unindented(std::string_view line) {
  while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
  return line;
}

// " 116.5", "-.25", "0", "39.9", " 1.5E-06": what the number writers give, nothing else.
bool IsNumber(std::string_view text) {
  if (std::size_t e = text.find('E'); e != std::string_view::npos) {
    std::string_view exponent = text.substr(e + 1);
    if (exponent.size() < 3 || (exponent[0] != '+' && exponent[0] != '-') ||
        exponent.find_first_not_of("0123456789", 1) != std::string_view::npos)
      return false;
    text = text.substr(0, e);
  }
  std::size_t i = !text.empty() && (text[0] == ' ' || text[0] == '-') ? 1 : 0;
  const std::size_t digits = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  bool any = i > digits;
  if (i < text.size() && text[i] == '.') {
    const std::size_t fraction = ++i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i == fraction) return false;
    any = true;
  }
  return any && i == text.size();
}

// "x y": two numbers, the second may carry its own blank.
bool IsVertexLine(std::string_view line) {
  for (std::size_t split = 1; split < line.size(); ++split)
    if (line[split] == ' ' && IsNumber(line.substr(0, split)) && IsNumber(line.substr(split + 1))) return true;
  return false;
}

}  // namespace

PairShape ShapeOfPair(std::string_view mif, std::string_view mid) {
  PairShape shape;
  std::vector<std::string_view> lines, rows;
  if (!SplitCrLf(mif, lines)) return shape.problem = "a MIF line without its CR LF", shape;
  if (!SplitCrLf(mid, rows)) return shape.problem = "a MID row without its CR LF", shape;
  if (lines.size() < 7 || lines[0] != "Version 300" || lines[6] != "Data") return shape.problem = "MIF header", shape;
  for (std::size_t i = 7; i < lines.size();) {
    const std::string_view line = lines[i++];
    ++shape.objects;
    if (line == "None") continue;
    if (line.substr(0, 6) == "Point ") {
      if (!IsVertexLine(line.substr(6))) return shape.problem = "Point line: " + std::string(line), shape;
      if (i == lines.size() || Unindented(lines[i++]).substr(0, 7) != "Symbol ")
        return shape.problem = "a Point without its Symbol", shape;
      ++shape.vertices;
      continue;
    }
    std::string_view count = line.substr(line.substr(0, 6) == "Pline " ? 6 : line.size());
    if (count.empty() || count.find_first_not_of("0123456789") != std::string_view::npos)
      return shape.problem = "unexpected MIF line: " + std::string(line), shape;
    std::size_t vertices = 0;
    while (i < lines.size() && IsVertexLine(Unindented(lines[i]))) ++i, ++vertices;
    if (std::to_string(vertices) != count || vertices < 2)
      return shape.problem = std::string(line) + " with " + std::to_string(vertices) + " vertex lines", shape;
    if (i == lines.size() || Unindented(lines[i++]).substr(0, 4) != "Pen ")
      return shape.problem = "a Pline without its Pen", shape;
    shape.vertices += vertices;
  }
  if (rows.size() != shape.objects)
    shape.problem = std::to_string(shape.objects) + " objects, " + std::to_string(rows.size()) + " MID rows";
  return shape;
}

SentenceCounts CountSentences(std::string_view bytes) {
  SentenceCounts counts;
  std::vector<std::string_view> lines;
  if (!SplitCrLf(bytes, lines)) return counts.problem = "a line without its CR LF", counts;
  for (std::string_view line : lines) {
    const std::string what = ": " + std::string(line);
    if (line.size() < 4 || line.front() != '$' || line[line.size() - 3] != '*') return counts.problem = "framing" + what, counts;
    const std::string_view body = line.substr(1, line.size() - 4);
    unsigned sum = 0;
    for (char c : body) sum ^= static_cast<unsigned char>(c);
    const char hex[] = "0123456789ABCDEF";
    if (line[line.size() - 2] != hex[sum >> 4] || line[line.size() - 1] != hex[sum & 15])
      return counts.problem = "checksum" + what, counts;
    if (body.find_first_of("$*") != std::string_view::npos) return counts.problem = "$ or * inside" + what, counts;
    std::size_t fields = 1;
    for (char c : body) fields += c == ',' ? 1 : 0;
    const bool waypoint = body.substr(0, 8) == "PZTJWPL,", route = body.substr(0, 8) == "PZTJRTE,";
    if ((waypoint || route) && fields != 10) return counts.problem = "field count" + what, counts;
    if (!waypoint && !route && line != "$PZTJCMD,END*3D") return counts.problem = "unknown sentence" + what, counts;
    ++(waypoint ? counts.waypoints : route ? counts.routes : counts.ends);
  }
  return counts;
}

}  // namespace carteloom::testing
