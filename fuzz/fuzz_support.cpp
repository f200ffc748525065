#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "formats/sentence.h"

namespace carteloom::fuzz {
namespace {

class Folder {
 public:
  Folder() {
    const char* base = std::getenv("CARTELOOM_FUZZ_TMP");
    std::string root = base != nullptr && *base != '\0' ? base : "/dev/shm";
    if (!std::filesystem::is_directory(root)) root = std::filesystem::temp_directory_path().string();
    std::string pattern = root + "/carteloom-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) Fail("cannot create a scratch folder under " + root);
    path_ = pattern;
  }
  ~Folder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// " 116.5", "-.25", "0", "39.9", " 1.5E-06": what our number writers give, nothing else.
bool IsPlainNumber(std::string_view text) {
  std::size_t e = text.find('E');
  if (e != std::string_view::npos) {
    std::string_view exponent = text.substr(e + 1);
    bool valid = exponent.size() >= 3 && (exponent[0] == '+' || exponent[0] == '-') &&
                 exponent.find_first_not_of("0123456789", 1) == std::string_view::npos;
    if (!valid) return false;
    text = text.substr(0, e);
  }
  std::size_t i = 0;
  if (i < text.size() && (text[i] == ' ' || text[i] == '-')) ++i;
  bool digits = false;
  while (i < text.size() && IsDigit(text[i])) ++i, digits = true;
  if (i < text.size() && text[i] == '.') {
    ++i;
    bool fraction = false;
    while (i < text.size() && IsDigit(text[i])) ++i, fraction = true;
    digits = digits || fraction;
    if (!fraction) return false;
  }
  return digits && i == text.size();
}

// "x y" with the two numbers as above; the second may carry its own blank.
bool IsVertexLine(std::string_view line) {
  for (std::size_t split = 1; split < line.size(); ++split) {
    if (line[split] != ' ') continue;
    if (IsPlainNumber(line.substr(0, split)) && IsPlainNumber(line.substr(split + 1))) return true;
  }
  return false;
}

std::string_view Unindented(std::string_view line) {
  while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
  return line;
}

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

void Fail(const std::string& what) {
  std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
  std::abort();
}

const std::string& ScratchFolder() {
  static Folder folder;
  return folder.Path();
}

std::string ScratchPath(const std::string& name) { return ScratchFolder() + "/" + name; }

void WriteFileBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  Require(static_cast<bool>(out), "cannot write " + path);
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  Require(static_cast<bool>(in), "missing output " + path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void ClearScratch() {
  for (const auto& entry : std::filesystem::directory_iterator(ScratchFolder()))
    std::filesystem::remove_all(entry.path());
}

std::vector<std::string_view> CrLfLines(std::string_view bytes, const std::string& what) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t cr = bytes.find_first_of("\r\n", start);
    Require(cr != std::string_view::npos, what + ": last line without CR LF");
    Require(bytes[cr] == '\r' && cr + 1 < bytes.size() && bytes[cr + 1] == '\n',
            what + ": line " + std::to_string(lines.size() + 1) + " holds a CR or LF that is no CR LF");
    lines.push_back(bytes.substr(start, cr - start));
    start = cr + 2;
  }
  return lines;
}

std::size_t CheckOwnMif(std::string_view mif, std::string_view mid) {
  std::vector<std::string_view> lines = CrLfLines(mif, "MIF");
  Require(lines.size() >= 7 && lines[0] == "Version 300" && lines[6] == "Data", "MIF header");
  std::size_t objects = 0;
  for (std::size_t i = 7; i < lines.size();) {
    std::string_view line = lines[i];
    ++objects;
    if (line.substr(0, 6) == "Point ") {
      Require(IsVertexLine(line.substr(6)), "Point line: " + std::string(line));
      Require(i + 1 < lines.size() && Unindented(lines[i + 1]).substr(0, 7) == "Symbol ", "Point without Symbol");
      i += 2;
      continue;
    }
    if (line == "None") {
      ++i;
      continue;
    }
    Require(line.substr(0, 5) == "Pline", "unexpected MIF line: " + std::string(line));
    std::string_view countText = Unindented(line.substr(5));
    Require(!countText.empty() && countText.find_first_not_of("0123456789") == std::string_view::npos,
            "Pline count: " + std::string(line));
    std::size_t count = std::stoull(std::string(countText));
    ++i;
    std::size_t vertices = 0;
    while (i < lines.size() && IsVertexLine(Unindented(lines[i]))) ++i, ++vertices;
    Require(vertices == count, "Pline " + std::to_string(count) + " followed by " + std::to_string(vertices) +
                                   " vertex lines");
    Require(count >= 2, "a Pline of fewer than two vertices, which GDAL refuses");
    Require(i < lines.size() && Unindented(lines[i]).substr(0, 4) == "Pen ", "Pline without Pen");
    ++i;
  }
  std::vector<std::string_view> rows = CrLfLines(mid, "MID");
  Require(rows.size() == objects,
          std::to_string(objects) + " MIF objects but " + std::to_string(rows.size()) + " MID rows");
  return objects;
}

SentenceCounts CheckReceiverFile(std::string_view bytes, const std::string& what) {
  SentenceCounts counts;
  for (std::string_view line : CrLfLines(bytes, what)) {
    const std::string where = what + ": " + std::string(line);
    Require(line.size() >= 4 && line.front() == '$' && line[line.size() - 3] == '*', where + " (framing)");
    std::string_view body = line.substr(1, line.size() - 4);
    int high = HexValue(line[line.size() - 2]);
    int low = HexValue(line[line.size() - 1]);
    Require(high >= 0 && low >= 0, where + " (checksum digits)");
    Require(SentenceChecksum(body) == line.substr(line.size() - 2), where + " (checksum)");
    unsigned char sum = 0;
    for (char c : body) sum ^= static_cast<unsigned char>(c);
    Require(sum == high * 16 + low, where + " (checksum value)");
    Require(body.find_first_of("$*") == std::string_view::npos, where + " ($ or * inside)");
    std::size_t fields = 1;
    for (char c : body) fields += c == ',' ? 1 : 0;
    if (body.substr(0, 8) == "PZTJWPL,") {
      Require(fields == 10, where + " (waypoint field count)");
      ++counts.waypoints;
    } else if (body.substr(0, 8) == "PZTJRTE,") {
      Require(fields == 10, where + " (route field count)");
      ++counts.routes;
    } else {
      Require(line == kEndSentence, where + " (unknown sentence)");
      ++counts.ends;
    }
  }
  return counts;
}

}  // namespace carteloom::fuzz
