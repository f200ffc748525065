#pragma once
// Texts between character sets: names recoded to the GBK bytes the
// receiver reads, GBK paths shown as UTF-8, and messages that hold both.
// glibc iconv on Linux, the Win32 code-page functions on Windows.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace carteloom {

inline constexpr int kGbkCodePage = 936;
inline constexpr int kUtf8CodePage = 65001;

// The length of the well-formed UTF-8 sequence that text starts with; 0
// when it starts with none (an overlong form, a surrogate, a cut sequence).
std::size_t Utf8SequenceLength(std::string_view text);

// The code point of a sequence Utf8SequenceLength found well formed.
char32_t Utf8CodePoint(std::string_view sequence);

// A path as a message of the core names it: every message is UTF-8, so on
// Windows the path's bytes, in the system's ANSI code page, are recoded (a
// GBK name may be valid UTF-8 too, so its bytes cannot be told apart once
// inside a text: 小谢 would read as Сл). Elsewhere names are UTF-8 by
// convention and the bytes stand as they are.
std::string PathInText(std::string_view path);

// A message of the core holds UTF-8 and, where it names a file whose bytes
// are not UTF-8 (outside Windows), those bytes: its stretches of each, in
// order. A stretch that is not UTF-8 keeps each double-byte character whole,
// as its second byte may look like ASCII. The window and the command line
// show messages by these.
struct TextStretch {
  std::string_view bytes;
  bool utf8;
};
std::vector<TextStretch> Stretches(std::string_view text);

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
