#include "mif/mif_charset.h"

#include <array>

#include "files/charset_codec.h"
#include "files/paths.h"

namespace carteloom {
namespace {

struct CharsetCodePage {
  const char* name;
  int codePage;
};

// MapInfo's Windows and DOS charset names and their code pages.
constexpr std::array<CharsetCodePage, 36> kMifCharsets{{
    {"WindowsSimpChinese", 936}, {"WindowsTradChinese", 950}, {"WindowsJapanese", 932},
    {"WindowsKorean", 949},      {"WindowsLatin1", 1252},     {"WindowsLatin2", 1250},
    {"WindowsCyrillic", 1251},   {"WindowsGreek", 1253},      {"WindowsTurkish", 1254},
    {"WindowsHebrew", 1255},     {"WindowsArabic", 1256},     {"WindowsBalticRim", 1257},
    {"WindowsVietnamese", 1258}, {"WindowsThai", 874},        {"CodePage437", 437},
    {"CodePage850", 850},        {"CodePage852", 852},        {"CodePage855", 855},
    {"CodePage857", 857},        {"CodePage860", 860},        {"CodePage861", 861},
    {"CodePage863", 863},        {"CodePage864", 864},        {"CodePage865", 865},
    {"CodePage869", 869},        {"ISO8859_1", 28591},        {"ISO8859_2", 28592},
    {"ISO8859_3", 28593},        {"ISO8859_4", 28594},        {"ISO8859_5", 28595},
    {"ISO8859_6", 28596},        {"ISO8859_7", 28597},        {"ISO8859_8", 28598},
    {"ISO8859_9", 28599},        {"ISO8859_15", 28605},       {"UTF-8", kUtf8CodePage},
}};

// Characters a place name holds on their own, and GBK too: the names go to
// the receiver in GBK, and a reading full of characters it cannot hold is a
// poor one. Nothing below U+0800 is among them: any single GBK character
// that is valid UTF-8 decodes to there.
bool IsNameCharacter(char32_t c) {
  return (c >= 0x2010 && c <= 0x2027) ||  // dashes, quotation marks, ellipsis
         (c >= 0x2030 && c <= 0x205E) ||  // per mille, reference mark
         (c >= 0x2150 && c <= 0x218F) ||  // Roman numerals
         (c >= 0x2460 && c <= 0x24FF) ||  // circled numbers
         (c >= 0x3000 && c <= 0x30FF) ||  // CJK punctuation, kana
         (c >= 0x3200 && c <= 0x33FF) ||  // enclosed CJK, square units
         (c >= 0x4E00 && c <= 0x9FA5) ||  // CJK unified ideographs
         (c >= 0xF900 && c <= 0xFAFF) ||  // CJK compatibility ideographs
         (c >= 0xFF01 && c <= 0xFFEF);    // fullwidth and halfwidth forms
}

bool IsPlainLetter(char32_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Characters that belong to a name only beside others: an accented letter
// (À to ɏ) within a word of plain letters (Café), the middle dot between
// Chinese names. Alone they are what many a GBK character reads as.
bool NeedsNeighbour(char32_t c) { return (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) || c == 0xB7; }
bool SuitsNeighbour(char32_t c, char32_t neighbour) {
  return c == 0xB7 ? IsNameCharacter(neighbour) : IsPlainLetter(neighbour);
}

// Plausible name characters, as LooksLikeUtf8Names tells them.
bool ReadsAsNameCharacters(std::string_view bytes) {
  std::size_t plausible = 0;
  std::size_t odd = 0;
  char32_t before = 0;
  char32_t waiting = 0;  // a character that counts only if the next one suits it
  while (!bytes.empty()) {
    const std::size_t length = Utf8SequenceLength(bytes);
    if (length == 0) return false;
    const char32_t c = Utf8CodePoint(bytes.substr(0, length));
    bytes.remove_prefix(length);
    if (waiting != 0) {
      ++(SuitsNeighbour(waiting, c) ? plausible : odd);
      waiting = 0;
    }
    if (c >= 0x80) {
      if (IsNameCharacter(c))
        ++plausible;
      else if (!NeedsNeighbour(c))
        ++odd;
      else if (SuitsNeighbour(c, before))
        ++plausible;
      else
        waiting = c;
    }
    before = c;
  }
  if (waiting != 0) ++odd;
  return plausible > 0 && odd <= plausible / 8;
}

// The script of a letter that names in other scripts than Latin mostly use
// and that GBK bytes also decode to: 1 Cyrillic, 2 Greek; 0 for any other
// character (combining marks and signs among them).
int ScriptOf(char32_t c) {
  if ((c >= 0x400 && c <= 0x481) || (c >= 0x48A && c <= 0x4FF)) return 1;
  if (c == 0x386 || (c >= 0x388 && c <= 0x3FF && c != 0x3F6)) return 2;
  return 0;
}

// Words of one script besides ASCII: every character beyond ASCII is a
// letter of that script, in words of its letters only, two letters at least.
bool ReadsAsWordsOfOneScript(std::string_view bytes) {
  int script = 0;
  std::size_t letters = 0;
  bool latinWord = false, scriptWord = false;  // the word being read holds such letters
  while (!bytes.empty()) {
    const std::size_t length = Utf8SequenceLength(bytes);
    if (length == 0) return false;
    const char32_t c = Utf8CodePoint(bytes.substr(0, length));
    bytes.remove_prefix(length);
    if (IsPlainLetter(c)) {
      if (scriptWord) return false;
      latinWord = true;
    } else if (c < 0x80) {
      latinWord = scriptWord = false;
    } else {
      const int of = ScriptOf(c);
      if (of == 0 || (script != 0 && of != script) || latinWord) return false;
      script = of;
      scriptWord = true;
      ++letters;
    }
  }
  return letters >= 2;
}

// True when the bytes read as GBK hold a character beyond GB2312 (both
// bytes from A1 on), or are no GBK at all.
bool LeavesGb2312(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) continue;
    if (i + 1 == bytes.size()) return true;
    const unsigned char trail = static_cast<unsigned char>(bytes[++i]);
    if (lead < 0xA1 || lead > 0xF7 || trail < 0xA1 || trail == 0xFF) return true;
  }
  return false;
}

}  // namespace

std::optional<int> CodePageOfMifCharset(std::string_view charset) {
  if (SameLetters(charset, "UTF8")) return kUtf8CodePage;
  for (const CharsetCodePage& entry : kMifCharsets)
    if (SameLetters(charset, entry.name)) return entry.codePage;
  return std::nullopt;
}

bool IsNeutralCharset(std::string_view charset) { return charset.empty() || SameLetters(charset, "Neutral"); }

bool LooksLikeUtf8Names(std::string_view bytes) {
  return ReadsAsNameCharacters(bytes) || (LeavesGb2312(bytes) && ReadsAsWordsOfOneScript(bytes));
}

}  // namespace carteloom
