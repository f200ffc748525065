#include "files/charset_codec.h"

#include <algorithm>
#include <stdexcept>

#include "files/number_text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace carteloom {
namespace {

bool IsDoubleByteCodePage(int codePage) {
  return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

// Bytes of one source character starting at text[0], for skipping what cannot be read.
std::size_t CharacterLength(int codePage, std::string_view text) {
  if (codePage == kUtf8CodePage) return std::max<std::size_t>(1, Utf8SequenceLength(text));
  if (IsDoubleByteCodePage(codePage) && static_cast<unsigned char>(text[0]) >= 0x81 && text.size() > 1) return 2;
  return 1;
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

std::vector<TextStretch> Stretches(std::string_view text) {
  std::vector<TextStretch> stretches;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = at;
    for (std::size_t length; end < text.size() && (length = Utf8SequenceLength(text.substr(end))) != 0;) end += length;
    if (end > at) stretches.push_back({text.substr(at, end - at), true});
    at = end;
    while (end < text.size() && Utf8SequenceLength(text.substr(end)) == 0)
      end += static_cast<unsigned char>(text[end]) >= 0x81 && end + 1 < text.size() ? 2 : 1;
    if (end > at) stretches.push_back({text.substr(at, end - at), false});
    at = end;
  }
  return stretches;
}

char32_t Utf8CodePoint(std::string_view sequence) {
  const auto byte = [&sequence](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(sequence[i])); };
  switch (sequence.size()) {
    case 1: return byte(0);
    case 2: return (byte(0) & 0x1F) << 6 | (byte(1) & 0x3F);
    case 3: return (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
    default: return (byte(0) & 0x07) << 18 | (byte(1) & 0x3F) << 12 | (byte(2) & 0x3F) << 6 | (byte(3) & 0x3F);
  }
}


#ifdef _WIN32

namespace {

std::optional<std::string> Utf8FromCodePage(UINT codePage, std::string_view bytes) {
  if (bytes.empty()) return std::string();
  const int wideLength =
      MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (wideLength <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), wide.data(),
                      wideLength);
  const int utf8Length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(std::max(utf8Length, 0)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), utf8Length, nullptr, nullptr);
  return utf8;
}

}  // namespace

std::optional<std::string> Utf8FromGbk(std::string_view gbk) { return Utf8FromCodePage(kGbkCodePage, gbk); }

std::string PathInText(std::string_view path) {
  std::optional<std::string> utf8 = Utf8FromCodePage(CP_ACP, path);
  return utf8 ? *utf8 : std::string(path);
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

std::string PathInText(std::string_view path) { return std::string(path); }

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
