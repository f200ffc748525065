#pragma once
// Names from MID files written under another character set, recoded to the
// GBK bytes the receiver reads. glibc iconv on Linux, the Win32 code-page
// functions on Windows.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace carteloom {

inline constexpr int kGbkCodePage = 936;
inline constexpr int kUtf8CodePage = 65001;

// The Windows code page of a MIF Charset name (compared without regard to
// letter case): "WindowsLatin1" -> 1252, "UTF-8" -> 65001, "WindowsSimpChinese"
// -> 936. Nothing for "Neutral" and for names this system does not know.
std::optional<int> CodePageOfMifCharset(std::string_view charset);

// The length of the well-formed UTF-8 sequence that text starts with; 0
// when it starts with none (an overlong form, a surrogate, a cut sequence).
std::size_t Utf8SequenceLength(std::string_view text);

// True for "Neutral" in any letter case, and for no charset at all.
bool IsNeutralCharset(std::string_view charset);

// True when names under a "Neutral" charset are UTF-8 rather than GBK: the
// bytes are valid UTF-8, hold non-ASCII characters, and those decode to what
// a name plausibly holds (CJK ideographs and punctuation, kana, fullwidth
// forms, accented letters beside plain ones), not to combining marks or
// rare scripts, as GBK bytes read as UTF-8 mostly do. A long text may hold
// one odd character to eight plausible ones.
bool LooksLikeUtf8Names(std::string_view bytes);

// GBK bytes as UTF-8, for showing a GBK path on a UTF-8 terminal; nothing
// when the bytes are not valid GBK.
std::optional<std::string> Utf8FromGbk(std::string_view gbk);

// Recodes text from one code page into GBK; a character that GBK cannot hold,
// or a byte sequence that is not valid in the source, becomes "?".
class GbkRecoder {
 public:
  explicit GbkRecoder(int sourceCodePage);
  ~GbkRecoder();
  GbkRecoder(const GbkRecoder&) = delete;
  GbkRecoder& operator=(const GbkRecoder&) = delete;

  // The GBK bytes; *replaced (when given) is set when any "?" was put in.
  std::string Recode(std::string_view text, bool* replaced = nullptr);

 private:
  int sourceCodePage_;
  void* converter_ = nullptr;  // iconv_t where iconv is used
};

}  // namespace carteloom
