#include "hardening/output_checks.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "formats/sentence.h"

namespace carteloom::testing {
namespace {

// The lines of a file without their CR LF; false when one lacks it.
bool SplitCrLf(const std::string& bytes, std::vector<std::string_view>& lines) {
  std::string_view rest(bytes);
  while (!rest.empty()) {
    std::size_t end = rest.find("\r\n");
    if (end == std::string_view::npos) return false;
    std::string_view line = rest.substr(0, end);
    if (line.find_first_of("\r\n") != std::string_view::npos) return false;
    lines.push_back(line);
    rest.remove_prefix(end + 2);
  }
  return true;
}

std::string_view Unindented(std::string_view line) {
  return line.substr(std::min(line.size(), line.find_first_not_of(' ')));
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// Two numbers and nothing else.
bool IsVertexLine(std::string_view line) {
  line = Unindented(line);
  std::size_t blank = line.find(' ');
  if (line.empty() || blank == std::string_view::npos) return false;
  return line.find_first_not_of("0123456789.-+E ") == std::string_view::npos &&
         line.find_first_of("0123456789", blank) != std::string_view::npos;
}

}  // namespace

PairShape ShapeOfPair(const std::string& mifPath, const std::string& midPath) {
  PairShape shape;
  std::string mif = ReadBytes(mifPath);
  std::string mid = ReadBytes(midPath);
  std::vector<std::string_view> lines, rows;
  if (!SplitCrLf(mif, lines)) return shape.problem = "a MIF line without CR LF", shape;
  if (!SplitCrLf(mid, rows)) return shape.problem = "a MID row without CR LF", shape;
  shape.midRows = rows.size();
  auto data = std::find(lines.begin(), lines.end(), "Data");
  if (data == lines.end()) return shape.problem = "no Data line", shape;
  for (auto line = data + 1; line != lines.end();) {
    ++shape.objects;
    if (StartsWith(*line, "Point ")) {
      ++shape.vertices;
      line += 2;  // and its Symbol
      if (line > lines.end()) return shape.problem = "a Point without its Symbol", shape;
      continue;
    }
    if (*line == "None") {
      ++line;
      continue;
    }
    if (!StartsWith(*line, "Pline")) return shape.problem = "unexpected line " + std::string(*line), shape;
    std::size_t count = std::stoul(std::string(line->substr(5)));
    std::size_t vertices = 0;
    for (++line; line != lines.end() && IsVertexLine(*line); ++line) ++vertices;
    if (vertices != count)
      return shape.problem = "Pline " + std::to_string(count) + " with " + std::to_string(vertices) + " vertices",
             shape;
    shape.vertices += vertices;
    if (line == lines.end() || !StartsWith(Unindented(*line), "Pen")) return shape.problem = "no Pen", shape;
    ++line;
  }
  if (shape.midRows != shape.objects)
    shape.problem = std::to_string(shape.objects) + " objects, " + std::to_string(shape.midRows) + " MID rows";
  return shape;
}

std::string ReceiverFileProblem(const std::string& bytes) {
  std::vector<std::string_view> lines;
  if (!SplitCrLf(bytes, lines)) return "a line without CR LF";
  for (std::string_view line : lines) {
    std::size_t star = line.size() >= 3 ? line.size() - 3 : 0;
    if (line.size() < 4 || line.front() != '$' || line[star] != '*') return "framing: " + std::string(line);
    std::string_view body = line.substr(1, star - 1);
    if (SentenceChecksum(body) != line.substr(star + 1)) return "checksum: " + std::string(line);
    std::size_t fields = 1 + static_cast<std::size_t>(std::count(body.begin(), body.end(), ','));
    bool known = (StartsWith(body, "PZTJWPL,") || StartsWith(body, "PZTJRTE,")) ? fields == 10 : line == kEndSentence;
    if (!known) return "fields: " + std::string(line);
  }
  return {};
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> Messages(const ScriptedUi& ui) {
  std::vector<std::string> texts;
  for (const ShownBox& box : ui.shown)
    if (box.kind == "message") texts.push_back(box.text);
  return texts;
}

}  // namespace carteloom::testing
