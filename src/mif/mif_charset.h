#pragma once
// The Charset clause of a MIF header, and what a MID under "Neutral" holds.
#include <optional>
#include <string_view>

namespace carteloom {

// The Windows code page of a MIF Charset name (compared without regard to
// letter case): "WindowsLatin1" -> 1252, "UTF-8" -> 65001, "WindowsSimpChinese"
// -> 936. Nothing for "Neutral" and for names this system does not know.
std::optional<int> CodePageOfMifCharset(std::string_view charset);

// True for "Neutral" in any letter case, and for no charset at all.
bool IsNeutralCharset(std::string_view charset);

// True when names under a "Neutral" charset are UTF-8 rather than GBK, as
// GDAL writes them. Many GBK names are valid UTF-8 too (太原 reads as a
// combining mark and a Cyrillic letter, 魏 as the Greek κ), so the bytes are
// taken as UTF-8 only when they are valid UTF-8 and either
//   - decode to what names plausibly hold (CJK ideographs and punctuation,
//     kana, fullwidth forms, accented letters within Latin words), a long
//     text one odd character to eight plausible ones; or
//   - decode to words of one script, Cyrillic or Greek, while read as GBK
//     they would need characters beyond GB2312, which Chinese names hardly
//     ever do.
// Bytes that fit both readings equally stay GBK.
bool LooksLikeUtf8Names(std::string_view bytes);

}  // namespace carteloom
