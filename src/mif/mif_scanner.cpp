#include "mif/mif_scanner.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>
#include <utility>

#include "files/paths.h"
#include "files/short_decimal.h"

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
// cannot make a vertex list larger than the vertices that follow it, and a
// token that is no number counts none.
std::uint64_t CountOf(std::optional<double> number) {
  const double value = number.value_or(0);
  if (!(value > 0)) return 0;
  if (value >= 1.8e19) return UINT64_MAX;
  return static_cast<std::uint64_t>(value);
}

}  // namespace

MifScanner::MifScanner(const std::string& path, std::size_t blockSize)
    : BlockReader(path, blockSize), source_(path), blockSize_(blockSize) {
  WholeLine(0);
  ReadHeader();
}

MifScanner::MifScanner(InMemory, std::string text) : BlockReader(InMemory{}, std::move(text)) {
  WholeLine(0);
  ReadHeader();
}

MifScanner MifScanner::FromText(std::string text) { return MifScanner(InMemory{}, std::move(text)); }

// Every position the scanner goes back to lies in the line it is in or at
// the line end before it, so the bytes before that may go at a refill.
std::size_t MifScanner::WholeLine(std::size_t keepFrom) {
  if (pos_ <= lineEnd_ && lineEnd_ < end_) return 0;
  std::size_t moved = 0;
  std::size_t searched = pos_;
  for (;;) {
    lineEnd_ = LineEndFrom(searched);
    if (lineEnd_ < end_) return moved;
    searched = end_;
    keep_ = headerRead_ ? keepFrom - moved : 0;
    const std::size_t before = pos_;
    const bool more = More();
    moved += before - pos_;  // what the refill let go
    searched -= before - pos_;
    if (!more) {
      lineEnd_ = end_;
      return moved;
    }
  }
}

std::size_t MifScanner::LineEndFrom(std::size_t from) const {
  const void* found = std::memchr(buffer_.data() + from, '\n', end_ - from);
  return found != nullptr ? static_cast<std::size_t>(static_cast<const char*>(found) - buffer_.data()) : end_;
}

void MifScanner::SkipBlanks() {
  while (pos_ < end_ && IsBlank(At(pos_))) ++pos_;
}

// Blanks and line ends: only the header reads across lines so.
void MifScanner::SkipSpace() {
  while (pos_ < end_ && IsSpace(At(pos_))) {
    if (At(pos_++) == '\n') WholeLine(pos_);
  }
}

bool MifScanner::AtLineEnd() const { return pos_ >= end_ || At(pos_) == '\r' || At(pos_) == '\n'; }

void MifScanner::SkipLine() {
  pos_ = lineEnd_ < end_ ? lineEnd_ + 1 : end_;
  WholeLine(pos_);
}

std::string_view MifScanner::Word() {
  std::size_t start = pos_;
  while (pos_ < end_ && IsLetter(At(pos_))) ++pos_;
  return std::string_view(buffer_.data() + start, pos_ - start);
}

// The next blank-separated token as a number, across line ends. A token that
// is not a number is left unread, and so is the line end before it, so the
// line that holds it is read as a line of its own; nothing comes back.
std::optional<double> MifScanner::Number() {
  std::size_t back = pos_;
  bool crossed = false;
  while (pos_ < end_ && IsSpace(At(pos_))) {
    if (At(pos_++) == '\n') {
      back = pos_ - 1;
      back -= WholeLine(back);
      crossed = true;
    }
  }
  const char* first = buffer_.data() + pos_;
  const char* const lineEnd = buffer_.data() + end_;
  if (first != lineEnd && *first == '+') ++first;  // from_chars takes no plus sign
  const bool negative = first != lineEnd && *first == '-';
  double parsed = 0;
  // The common case, read in one pass: plain digits up to a blank or line end.
  const char* stop = ShortDecimalPrefix(first + negative, lineEnd, parsed);
  if (stop != nullptr && (stop == lineEnd || IsSpace(*stop))) {
    pos_ = static_cast<std::size_t>(stop - buffer_.data());
    return negative ? -parsed : parsed;
  }
  const char* last = first;
  while (last != lineEnd && !IsSpace(*last)) ++last;
  bool startsLikeNumber = first != last && ((*first >= '0' && *first <= '9') || *first == '-' || *first == '.');
  auto result = startsLikeNumber ? std::from_chars(first, last, parsed) : std::from_chars_result{first, std::errc::invalid_argument};
  if (result.ec == std::errc::invalid_argument) {
    pos_ = back;
    if (crossed) lineEnd_ = back;  // the line end before the token ends the line pos_ is in again
    return std::nullopt;
  }
  pos_ = static_cast<std::size_t>(last - buffer_.data());
  return result.ec == std::errc() && std::isfinite(parsed) ? parsed : 0;
}

bool MifScanner::AddVertex(std::vector<Position>& to) {
  const std::optional<double> x = Number();
  if (!x) return false;
  const std::optional<double> y = Number();
  if (!y) return false;
  to.push_back({*x, *y});
  return true;
}

void MifScanner::ReadHeader() {
  while (!AtEnd()) {
    SkipBlanks();
    std::string_view word = Word();
    if (SameLetters(word, "data")) {
      headerRead_ = true;
      SkipLine();
      return;
    }
    if (SameLetters(word, "delimiter")) {
      SkipBlanks();
      if (pos_ + 1 < end_ && At(pos_) == '"' && At(pos_ + 1) != '\r' && At(pos_ + 1) != '\n')
        delimiter_ = At(pos_ + 1);
    } else if (SameLetters(word, "charset")) {
      ReadCharset();
    } else if (SameLetters(word, "coordsys")) {
      // MapInfo itself breaks the clause after "Earth"; a failed reading
      // gives up only this line, so a damaged clause hides no header line.
      const std::size_t afterKeyword = pos_;
      wgs84_ = ReadWgs84Clause();
      if (!wgs84_) {
        pos_ = afterKeyword;
        lineEnd_ = LineEndFrom(pos_);
      }
    } else if (SameLetters(word, "columns")) {
      // The column lines name the columns; a column called "Data" is no data section.
      SkipBlanks();
      const std::optional<double> count = AtLineEnd() ? std::nullopt : Number();
      SkipLine();
      for (std::uint64_t i = CountOf(count); i > 0 && !AtEnd(); --i) SkipLine();
      continue;
    }
    SkipLine();
  }
  headerRead_ = true;  // no data section
}

// "Earth Projection 1, 104" after the CoordSys keyword: the words in this
// order, any blanks and line breaks between them, the comma with or without
// blanks. What follows (Bounds, Units) does not change the datum.
bool MifScanner::ReadWgs84Clause() {
  auto digits = [this](std::string_view number) {
    SkipSpace();
    if (std::string_view(buffer_.data() + pos_, end_ - pos_).substr(0, number.size()) != number) return false;
    pos_ += number.size();
    return pos_ == end_ || !(IsDigit(At(pos_)) || At(pos_) == '.');
  };
  SkipSpace();
  if (!SameLetters(Word(), "earth")) return false;
  SkipSpace();
  if (!SameLetters(Word(), "projection")) return false;
  if (!digits("1")) return false;
  SkipSpace();
  if (pos_ == end_ || At(pos_) != ',') return false;
  ++pos_;
  return digits("104");
}

void MifScanner::ReadCharset() {
  SkipBlanks();
  std::size_t end = pos_;
  while (end < end_ && At(end) != '\r' && At(end) != '\n') ++end;
  std::string_view value(buffer_.data() + pos_, end - pos_);
  while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
  if (value.size() >= 2 && value.front() == '"') {
    std::size_t close = value.find('"', 1);
    value = value.substr(1, (close == std::string_view::npos ? value.size() : close) - 1);
  }
  charset_ = value;
}

// Keywords are the only words that start data lines: vertex lines start
// with numbers, which never start with a letter. So the lines are judged by
// their first word, as Next() judges them, without reading a number: whole
// lines straight from the buffer, most lines at the cost of finding their ends.
MifLayerContents MifScanner::JudgeLines() {
  MifLayerContents contents;
  while (!(contents.points && contents.lines)) {
    std::size_t lineEnd = LineEndFrom(pos_);
    if (lineEnd == end_) {
      keep_ = pos_;  // the line goes on in the next block
      if (More()) continue;
      lineEnd = end_;  // the last line, without a line end
    }
    std::size_t p = pos_;
    while (p < lineEnd && IsBlank(At(p))) ++p;
    // Only Point, Multipoint, Line and Pline count: a first letter tells most other lines apart.
    const char first = p < lineEnd ? static_cast<char>(At(p) | 0x20) : '\0';
    if (first == 'p' || first == 'm' || first == 'l') {
      std::size_t wordEnd = p;
      while (wordEnd < lineEnd && IsLetter(At(wordEnd))) ++wordEnd;
      const std::string_view word(buffer_.data() + p, wordEnd - p);
      contents.points |= SameLetters(word, "point") || SameLetters(word, "multipoint");
      contents.lines |= SameLetters(word, "pline") || SameLetters(word, "line");
    }
    if (lineEnd == end_) break;
    pos_ = lineEnd + 1;
  }
  return contents;
}

MifLayerContents MifScanner::Contents() const {
  MifScanner scan = source_.empty() ? FromText(std::string(buffer_.data(), end_)) : MifScanner(source_, blockSize_);
  return scan.JudgeLines();
}

bool MifScanner::Next(MifObject& object, std::size_t room) {
  object.points.clear();
  object.vertices.clear();
  object.sectionEnds.clear();
  return AppendNext(object, room);
}

bool MifScanner::AppendNext(MifObject& object, std::size_t room) {
  const std::size_t held = object.points.size() + object.vertices.size() + object.sectionEnds.size();
  roomEnd_ = room > std::numeric_limits<std::size_t>::max() - held ? std::numeric_limits<std::size_t>::max() : held + room;
  object.continued = open_ != Open::Nothing;
  object.finished = false;
  bool started = object.continued;
  if (const Open open = std::exchange(open_, Open::Nothing); open == Open::Multipoint || open == Open::Pline) {
    const Part part = open == Open::Multipoint ? GoOnMultipoint(object) : GoOnPline(object);
    if (part == Part::Suspended) return true;
    SkipLine();
    if (--partsLeft_ == 0) return object.finished = true;
  } else if (open == Open::Nothing) {
    partsLeft_ = 1;  // a Collection is made of the parts that follow it
  }
  while (!AtEnd()) {
    SkipBlanks();
    std::string_view word = Word();
    if (!started && SameLetters(word, "collection")) {
      SkipBlanks();
      partsLeft_ = CountOf(AtLineEnd() ? std::nullopt : Number());
      started = true;
      ++objectNumber_;
      SkipLine();
      if (partsLeft_ == 0) return object.finished = true;
      continue;
    }
    // Style clauses, the further lines of skipped objects and blank lines have no keyword of an object.
    const Part part = ReadPart(word, object);
    if (part != Part::None && !started) {
      started = true;
      ++objectNumber_;
    }
    if (part == Part::Suspended) return true;
    SkipLine();
    if (part == Part::Done && --partsLeft_ == 0) return object.finished = true;
    if (started && Full(object)) {
      open_ = Open::Parts;  // a Collection goes on with its next part
      return true;
    }
  }
  object.finished = true;
  return started;
}

// Reads the object that keyword opens into object; None when it opens none.
MifScanner::Part MifScanner::ReadPart(std::string_view keyword, MifObject& object) {
  if (SameLetters(keyword, "point")) {
    // Coordinates that are missing from a point line read as 0.
    std::optional<double> x, y;
    SkipBlanks();
    if (!AtLineEnd() && (x = Number())) {
      SkipBlanks();
      if (!AtLineEnd()) y = Number();
    }
    object.points.push_back({x.value_or(0), y.value_or(0)});
  } else if (SameLetters(keyword, "multipoint")) {
    pointsLeft_ = CountOf(Number());
    return GoOnMultipoint(object);
  } else if (SameLetters(keyword, "line")) {
    for (int end = 0; end < 2 && AddVertex(object.vertices); ++end) {
    }
    object.sectionEnds.push_back(object.vertices.size());
  } else if (SameLetters(keyword, "pline")) {
    sectionsLeft_ = 1;
    SkipBlanks();
    std::size_t afterKeyword = pos_;
    if (SameLetters(Word(), "multiple")) {
      sectionsLeft_ = CountOf(Number());
    } else {
      pos_ = afterKeyword;
    }
    sectionOpen_ = false;
    return GoOnPline(object);
  } else if (std::size_t kind = SkippedKindOf(keyword); kind < skipped_.size()) {
    ++skipped_[kind];
  } else {
    return Part::None;
  }
  return Part::Done;
}

MifScanner::Part MifScanner::GoOnMultipoint(MifObject& object) {
  open_ = Open::Nothing;
  for (; pointsLeft_ > 0; --pointsLeft_) {
    if (Full(object)) {
      open_ = Open::Multipoint;
      return Part::Suspended;
    }
    if (!AddVertex(object.points)) break;  // the numbers stopped before the count
  }
  return Part::Done;
}

MifScanner::Part MifScanner::GoOnPline(MifObject& object) {
  open_ = Open::Nothing;
  for (;;) {
    if (!sectionOpen_) {
      // Sections without vertices take room too, so that no piece grows without bound.
      if (sectionsLeft_ > 0 && Full(object)) {
        open_ = Open::Pline;
        return Part::Suspended;
      }
      const std::optional<double> count = sectionsLeft_ > 0 ? Number() : std::nullopt;
      if (!count) return Part::Done;
      --sectionsLeft_;
      verticesLeft_ = CountOf(count);
      sectionOpen_ = true;
    }
    for (; verticesLeft_ > 0; --verticesLeft_) {
      if (Full(object)) {
        open_ = Open::Pline;
        return Part::Suspended;
      }
      if (!AddVertex(object.vertices)) break;
    }
    object.sectionEnds.push_back(object.vertices.size());
    sectionOpen_ = false;
    if (verticesLeft_ > 0) return Part::Done;  // the text ran out of vertices before the count
  }
}

}  // namespace carteloom
