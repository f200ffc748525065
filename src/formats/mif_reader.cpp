#include "formats/mif_reader.h"

#include <charconv>
#include <cmath>

#include "formats/paths.h"
#include "formats/short_decimal.h"

namespace carteloom {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsSpace(char c) { return IsBlank(c) || c == '\r' || c == '\n'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The index of a kind that is read but not converted, or the number of kinds.
std::size_t SkippedKindOf(std::string_view word) {
  std::size_t kind = 0;
  while (kind < kMifSkippedKinds.size() && !SameLetters(word, kMifSkippedKinds[kind])) ++kind;
  return kind;
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

void MifScanner::SkipSpace() {
  while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
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
    SkipBlanks();
    std::string_view word = Word();
    if (SameLetters(word, "data")) {
      SkipLine();
      dataStart_ = pos_;
      return;
    }
    if (SameLetters(word, "delimiter")) {
      SkipBlanks();
      if (pos_ + 1 < text_.size() && text_[pos_] == '"' && text_[pos_ + 1] != '\r' && text_[pos_ + 1] != '\n')
        delimiter_ = text_[pos_ + 1];
    } else if (SameLetters(word, "charset")) {
      ReadCharset();
    } else if (SameLetters(word, "coordsys")) {
      // MapInfo itself breaks the clause after "Earth"; a failed reading
      // gives up only this line, so a damaged clause hides no header line.
      const std::size_t afterKeyword = pos_;
      wgs84_ = ReadWgs84Clause();
      if (!wgs84_) pos_ = afterKeyword;
    } else if (SameLetters(word, "columns")) {
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
  dataStart_ = text_.size();  // no data section
}

// "Earth Projection 1, 104" after the CoordSys keyword: the words in this
// order, any blanks and line breaks between them, the comma with or
// without blanks. What follows (Bounds, Units) does not change the datum.
bool MifScanner::ReadWgs84Clause() {
  auto digits = [this](std::string_view number) {
    SkipSpace();
    if (text_.substr(pos_, number.size()) != number) return false;
    pos_ += number.size();
    return pos_ == text_.size() || !(IsDigit(text_[pos_]) || text_[pos_] == '.');
  };
  SkipSpace();
  if (!SameLetters(Word(), "earth")) return false;
  SkipSpace();
  if (!SameLetters(Word(), "projection")) return false;
  if (!digits("1")) return false;
  SkipSpace();
  if (pos_ == text_.size() || text_[pos_] != ',') return false;
  ++pos_;
  return digits("104");
}

void MifScanner::ReadCharset() {
  SkipBlanks();
  std::size_t start = pos_;
  std::size_t end = pos_;
  while (end < text_.size() && text_[end] != '\r' && text_[end] != '\n') ++end;
  std::string_view value = text_.substr(start, end - start);
  while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
  if (value.size() >= 2 && value.front() == '"') {
    std::size_t close = value.find('"', 1);
    value = value.substr(1, (close == std::string_view::npos ? value.size() : close) - 1);
  }
  charset_ = value;
}

MifLayerContents MifScanner::Contents() const {
  // Keywords are the only words that start data lines: vertex lines start
  // with numbers, which never start with a letter. So the lines are judged
  // by their first word, as Next() judges them, without reading a number.
  MifScanner scan = *this;
  scan.pos_ = dataStart_;
  MifLayerContents contents;
  while (scan.pos_ < text_.size() && !(contents.points && contents.lines)) {
    scan.SkipBlanks();
    std::string_view word = scan.Word();
    contents.points |= SameLetters(word, "point") || SameLetters(word, "multipoint");
    contents.lines |= SameLetters(word, "pline") || SameLetters(word, "line");
    scan.SkipLine();
  }
  return contents;
}

bool MifScanner::Next(MifObject& object) {
  object.points.clear();
  object.vertices.clear();
  object.sectionEnds.clear();
  bool started = false;
  std::uint64_t partsLeft = 1;  // a Collection is made of the parts that follow it
  while (pos_ < text_.size()) {
    SkipBlanks();
    std::string_view word = Word();
    if (!started && SameLetters(word, "collection")) {
      double parts = 0;
      SkipBlanks();
      partsLeft = !AtLineEnd() && Number(parts) ? CountOf(parts) : 0;
      started = true;
      ++objectNumber_;
      SkipLine();
      if (partsLeft == 0) return true;
      continue;
    }
    // Style clauses, the further lines of skipped objects and blank lines have no keyword of an object.
    const bool part = ReadPart(word, object);
    SkipLine();
    if (!part) continue;
    if (!started) {
      started = true;
      ++objectNumber_;
    }
    if (--partsLeft == 0) return true;
  }
  return started;
}

// Reads the object that keyword opens into object; false when it opens none.
bool MifScanner::ReadPart(std::string_view keyword, MifObject& object) {
  if (SameLetters(keyword, "point")) {
    // Coordinates that are missing from a point line read as 0.
    MifVertex vertex;
    SkipBlanks();
    if (!AtLineEnd() && Number(vertex.x)) {
      SkipBlanks();
      if (!AtLineEnd()) Number(vertex.y);
    }
    object.points.push_back(vertex);
  } else if (SameLetters(keyword, "multipoint")) {
    double count = 0;
    ReadVertices(object.points, Number(count) ? CountOf(count) : 0);
  } else if (SameLetters(keyword, "line")) {
    ReadVertices(object.vertices, 2);
    object.sectionEnds.push_back(object.vertices.size());
  } else if (SameLetters(keyword, "pline")) {
    ReadPline(object);
  } else if (std::size_t kind = SkippedKindOf(keyword); kind < skipped_.size()) {
    ++skipped_[kind];
  } else {
    return false;
  }
  return true;
}

void MifScanner::ReadPline(MifObject& object) {
  std::uint64_t sections = 1;
  SkipBlanks();
  std::size_t afterKeyword = pos_;
  if (SameLetters(Word(), "multiple")) {
    double count = 0;
    sections = Number(count) ? CountOf(count) : 0;
  } else {
    pos_ = afterKeyword;
  }
  for (std::uint64_t s = 0; s < sections; ++s) {
    double count = 0;
    if (!Number(count)) break;
    std::uint64_t wanted = CountOf(count);
    std::size_t got = ReadVertices(object.vertices, wanted);
    object.sectionEnds.push_back(object.vertices.size());
    if (got < wanted) break;  // the text ran out of vertices before the count
  }
}

// Up to count vertices; fewer when the numbers stop first.
std::size_t MifScanner::ReadVertices(std::vector<MifVertex>& out, std::uint64_t count) {
  std::size_t got = 0;
  MifVertex vertex;
  while (got < count && Number(vertex.x)) {
    if (!Number(vertex.y)) break;
    out.push_back(vertex);
    ++got;
  }
  return got;
}

}  // namespace carteloom
