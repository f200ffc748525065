#include "formats/mif_reader.h"

#include <charconv>
#include <cmath>

#include "formats/short_decimal.h"

namespace carteloom {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsSpace(char c) { return IsBlank(c) || c == '\r' || c == '\n'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// MIF keywords are not case-sensitive; keyword is given in lower case.
bool IsKeyword(std::string_view word, std::string_view keyword) {
  if (word.size() != keyword.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    char c = word[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != keyword[i]) return false;
  }
  return true;
}

// Objects that own a MID row but are not converted.
bool IsOtherObject(std::string_view word) {
  static constexpr std::string_view kKeywords[] = {"region", "arc",     "text",       "rect",
                                                   "roundrect", "ellipse", "multipoint", "none"};
  for (std::string_view keyword : kKeywords)
    if (IsKeyword(word, keyword)) return true;
  return false;
}

// A count as read from the text: negative, fractional or absurd values
// cannot make a vertex list larger than the vertices that follow it.
std::uint64_t CountOf(double value) {
  if (!(value > 0)) return 0;
  if (value >= 1.8e19) return UINT64_MAX;
  return static_cast<std::uint64_t>(value);
}

}  // namespace

MifScanner::MifScanner(std::string_view text) : text_(text) { ReadHeader(); }

void MifScanner::SkipBlanks() {
  while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
}

bool MifScanner::AtLineEnd() const {
  return pos_ >= text_.size() || text_[pos_] == '\r' || text_[pos_] == '\n';
}

void MifScanner::SkipLine() {
  std::size_t end = text_.find('\n', pos_);
  pos_ = end == std::string_view::npos ? text_.size() : end + 1;
}

std::string_view MifScanner::Word() {
  std::size_t start = pos_;
  while (pos_ < text_.size() && IsLetter(text_[pos_])) ++pos_;
  return text_.substr(start, pos_ - start);
}

// The next blank-separated token as a number, across line ends. A token that
// is not a number is left unread, and so is the line end before it, so the
// line that holds it is read as a line of its own.
bool MifScanner::Number(double& value) {
  const std::size_t start = pos_;
  while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
  const char* first = text_.data() + pos_;
  const char* const textEnd = text_.data() + text_.size();
  if (first != textEnd && *first == '+') ++first;  // from_chars takes no plus sign
  const bool negative = first != textEnd && *first == '-';
  double parsed = 0;
  // The common case, read in one pass: plain digits up to a blank or line end.
  const char* stop = ShortDecimalPrefix(first + negative, textEnd, parsed);
  if (stop != nullptr && (stop == textEnd || IsSpace(*stop))) {
    value = negative ? -parsed : parsed;
    pos_ = static_cast<std::size_t>(stop - text_.data());
    return true;
  }
  const char* last = first;
  while (last != textEnd && !IsSpace(*last)) ++last;
  bool startsLikeNumber = first != last && ((*first >= '0' && *first <= '9') || *first == '-' || *first == '.');
  auto result = startsLikeNumber ? std::from_chars(first, last, parsed) : std::from_chars_result{first, std::errc::invalid_argument};
  if (result.ec == std::errc::invalid_argument) {
    pos_ = start;
    return false;
  }
  value = result.ec == std::errc() && std::isfinite(parsed) ? parsed : 0;
  pos_ = static_cast<std::size_t>(last - text_.data());
  return true;
}

void MifScanner::ReadHeader() {
  while (pos_ < text_.size()) {
    std::size_t lineStart = pos_;
    SkipBlanks();
    std::string_view word = Word();
    if (IsKeyword(word, "data")) {
      header_ = text_.substr(0, lineStart);
      SkipLine();
      return;
    }
    if (IsKeyword(word, "delimiter")) {
      SkipBlanks();
      if (pos_ + 1 < text_.size() && text_[pos_] == '"' && text_[pos_ + 1] != '\r' && text_[pos_ + 1] != '\n')
        delimiter_ = text_[pos_ + 1];
    } else if (IsKeyword(word, "columns")) {
      // The column lines name the columns; a column called "Data" is no data section.
      double count = 0;
      SkipBlanks();
      bool counted = !AtLineEnd() && Number(count);
      SkipLine();
      for (std::uint64_t i = counted ? CountOf(count) : 0; i > 0 && pos_ < text_.size(); --i) SkipLine();
      continue;
    }
    SkipLine();
  }
  header_ = text_;
}

bool MifScanner::Next(MifObject& object) {
  while (pos_ < text_.size()) {
    SkipBlanks();
    std::string_view word = Word();
    object.kind = MifObjectKind::Other;
    object.vertices.clear();
    object.sectionEnds.clear();
    if (IsKeyword(word, "point")) {
      ReadPoint(object);
    } else if (IsKeyword(word, "pline")) {
      ReadPline(object);
    } else if (IsKeyword(word, "line")) {
      ReadLine(object);
    } else if (IsKeyword(word, "collection")) {
      // One object whose parts follow as objects of their own.
      double parts = 0;
      SkipBlanks();
      partsToSwallow_ = !AtLineEnd() && Number(parts) ? CountOf(parts) : 0;
      SkipLine();
      return true;
    } else if (IsOtherObject(word)) {
      // owns its row; its further lines are skipped below as lines without a keyword
    } else {
      SkipLine();  // style clauses, vertex lines of other objects, blank lines
      continue;
    }
    SkipLine();
    if (partsToSwallow_ > 0) {
      --partsToSwallow_;
      continue;
    }
    return true;
  }
  return false;
}

// Coordinates that are missing from a point line read as 0.
void MifScanner::ReadPoint(MifObject& object) {
  object.kind = MifObjectKind::Point;
  MifVertex vertex;
  SkipBlanks();
  if (!AtLineEnd() && Number(vertex.x)) {
    SkipBlanks();
    if (!AtLineEnd()) Number(vertex.y);
  }
  object.vertices.push_back(vertex);
}

void MifScanner::ReadLine(MifObject& object) {
  object.kind = MifObjectKind::Polyline;
  ReadVertices(object, 2);
  object.sectionEnds.push_back(object.vertices.size());
}

void MifScanner::ReadPline(MifObject& object) {
  object.kind = MifObjectKind::Polyline;
  std::uint64_t sections = 1;
  SkipBlanks();
  std::size_t afterKeyword = pos_;
  if (IsKeyword(Word(), "multiple")) {
    double count = 0;
    sections = Number(count) ? CountOf(count) : 0;
  } else {
    pos_ = afterKeyword;
  }
  for (std::uint64_t s = 0; s < sections; ++s) {
    double count = 0;
    if (!Number(count)) break;
    std::uint64_t wanted = CountOf(count);
    std::size_t got = ReadVertices(object, wanted);
    object.sectionEnds.push_back(object.vertices.size());
    if (got < wanted) break;  // the text ran out of vertices before the count
  }
}

// Up to count vertices; fewer when the numbers stop first.
std::size_t MifScanner::ReadVertices(MifObject& object, std::uint64_t count) {
  std::size_t got = 0;
  MifVertex vertex;
  while (got < count && Number(vertex.x)) {
    if (!Number(vertex.y)) break;
    object.vertices.push_back(vertex);
    ++got;
  }
  return got;
}

// The kind of each object shows in its keyword, and keywords are the only
// words that start data lines: vertex lines start with numbers, which never
// start with a letter. So the lines are judged by their first word alone, as
// Next() judges them, without reading a single coordinate.
MifLayerKind MifScanner::KindOfLayer() {
  bool polylines = false;
  while (pos_ < text_.size()) {
    SkipBlanks();
    std::string_view word = Word();
    const bool point = IsKeyword(word, "point");
    const bool polyline = IsKeyword(word, "pline") || IsKeyword(word, "line");
    if (IsKeyword(word, "collection")) {
      double parts = 0;
      SkipBlanks();
      partsToSwallow_ = !AtLineEnd() && Number(parts) ? CountOf(parts) : 0;
    } else if (partsToSwallow_ > 0 && (point || polyline || IsOtherObject(word))) {
      --partsToSwallow_;  // a member of a Collection, which is neither
    } else if (point) {
      return MifLayerKind::Points;
    } else if (polyline) {
      polylines = true;
    }
    SkipLine();
  }
  return polylines ? MifLayerKind::Polylines : MifLayerKind::Neither;
}

MifLayerKind LayerKind(std::string_view text) { return MifScanner(text).KindOfLayer(); }

}  // namespace carteloom
