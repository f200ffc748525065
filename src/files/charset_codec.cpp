#include "files/charset_codec.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <stdexcept>

#include "files/number_text.h"
#include "files/paths.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

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

bool IsDoubleByteCodePage(int codePage) {
  return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

// Bytes of one source character starting at text[0], for skipping what cannot be read.
std::size_t CharacterLength(int codePage, std::string_view text) {
  if (codePage == kUtf8CodePage) return std::max<std::size_t>(1, Utf8SequenceLength(text));
  if (IsDoubleByteCodePage(codePage) && static_cast<unsigned char>(text[0]) >= 0x81 && text.size() > 1) return 2;
  return 1;
}

// The code point of one valid UTF-8 sequence.
char32_t CodePoint(std::string_view sequence) {
  const auto byte = [&sequence](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(sequence[i])); };
  switch (sequence.size()) {
    case 1: return byte(0);
    case 2: return (byte(0) & 0x1F) << 6 | (byte(1) & 0x3F);
    case 3: return (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
    default: return (byte(0) & 0x07) << 18 | (byte(1) & 0x3F) << 12 | (byte(2) & 0x3F) << 6 | (byte(3) & 0x3F);
  }
}

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

}  // namespace

std::size_t Utf8SequenceLength(std::string_view text) {
  if (text.empty()) return 0;
  unsigned char lead = static_cast<unsigned char>(text[0]);
  std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                      : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
  if (length == 0 || length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 0;
  unsigned char second = static_cast<unsigned char>(length > 1 ? text[1] : 0);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90) ||
      (lead == 0xF4 && second > 0x8F))
    return 0;  // overlong forms, surrogates, beyond U+10FFFF
  return length;
}

std::optional<int> CodePageOfMifCharset(std::string_view charset) {
  if (SameLetters(charset, "UTF8")) return kUtf8CodePage;
  for (const CharsetCodePage& entry : kMifCharsets)
    if (SameLetters(charset, entry.name)) return entry.codePage;
  return std::nullopt;
}

bool IsNeutralCharset(std::string_view charset) { return charset.empty() || SameLetters(charset, "Neutral"); }

bool LooksLikeUtf8Names(std::string_view bytes) {
  std::size_t plausible = 0;
  std::size_t odd = 0;
  char32_t before = 0;
  char32_t waiting = 0;  // a character that counts only if the next one suits it
  while (!bytes.empty()) {
    const std::size_t length = Utf8SequenceLength(bytes);
    if (length == 0) return false;
    const char32_t c = CodePoint(bytes.substr(0, length));
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

#ifdef _WIN32

std::optional<std::string> Utf8FromGbk(std::string_view gbk) {
  if (gbk.empty()) return std::string();
  const int wideLength = MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, gbk.data(), static_cast<int>(gbk.size()),
                                             nullptr, 0);
  if (wideLength <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, gbk.data(), static_cast<int>(gbk.size()), wide.data(),
                      wideLength);
  const int utf8Length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(std::max(utf8Length, 0)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), utf8Length, nullptr, nullptr);
  return utf8;
}

GbkRecoder::GbkRecoder(int sourceCodePage) : sourceCodePage_(sourceCodePage) {}
GbkRecoder::~GbkRecoder() = default;

std::string GbkRecoder::Recode(std::string_view text, bool* replaced) {
  std::string out;
  bool any = false;
  while (!text.empty()) {
    std::size_t length = CharacterLength(sourceCodePage_, text);
    wchar_t wide[4];
    int wideLength = MultiByteToWideChar(static_cast<UINT>(sourceCodePage_), MB_ERR_INVALID_CHARS, text.data(),
                                         static_cast<int>(length), wide, 4);
    char gbk[8];
    BOOL usedDefault = FALSE;
    int gbkLength = wideLength <= 0 ? 0
                                    : WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide, wideLength, gbk,
                                                          sizeof gbk, "?", &usedDefault);
    if (gbkLength <= 0 || usedDefault) {
      out.push_back('?');
      any = true;
    } else {
      out.append(gbk, static_cast<std::size_t>(gbkLength));
    }
    text.remove_prefix(length);
  }
  if (replaced != nullptr) *replaced = any;
  return out;
}

#else

namespace {
std::string IconvName(int codePage) {
  if (codePage == kUtf8CodePage) return "UTF-8";
  if (codePage >= 28591 && codePage <= 28605) return "ISO-8859-" + IntegerText(codePage - 28590);
  return "CP" + IntegerText(codePage);
}
}  // namespace

std::optional<std::string> Utf8FromGbk(std::string_view gbk) {
  iconv_t cd = iconv_open("UTF-8", "GBK");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  // No GBK byte becomes more than three bytes of UTF-8.
  std::string utf8(gbk.size() * 3 + 4, '\0');
  char* in = const_cast<char*>(gbk.data());
  std::size_t inLeft = gbk.size();
  char* out = utf8.data();
  std::size_t outLeft = utf8.size();
  const bool whole = iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1) && inLeft == 0;
  iconv_close(cd);
  if (!whole) return std::nullopt;
  utf8.resize(utf8.size() - outLeft);
  return utf8;
}

GbkRecoder::GbkRecoder(int sourceCodePage) : sourceCodePage_(sourceCodePage) {
  iconv_t cd = iconv_open("GBK", IconvName(sourceCodePage).c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("不支持的字符集 " + IconvName(sourceCodePage));
  converter_ = cd;
}

GbkRecoder::~GbkRecoder() { iconv_close(static_cast<iconv_t>(converter_)); }

std::string GbkRecoder::Recode(std::string_view text, bool* replaced) {
  iconv_t cd = static_cast<iconv_t>(converter_);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out;
  bool any = false;
  char buffer[256];
  while (!text.empty()) {
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    int error = result == static_cast<std::size_t>(-1) ? errno : 0;
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    text.remove_prefix(text.size() - inLeft);
    if (error == EILSEQ || error == EINVAL) {
      // Not valid in the source, or no GBK form: one "?" for the character.
      out.push_back('?');
      any = true;
      text.remove_prefix(std::min(text.size(), CharacterLength(sourceCodePage_, text)));
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    } else if (error != 0 && error != E2BIG) {
      break;
    }
  }
  if (replaced != nullptr) *replaced = any;
  return out;
}

#endif

}  // namespace carteloom
