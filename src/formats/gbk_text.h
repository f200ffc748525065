#pragma once
// Texts the system writes into receiver files, as the GBK bytes the receiver reads.
#include <string_view>

namespace carteloom {

// "未命名" ("unnamed"): the name of a route whose MID row is missing.
inline constexpr std::string_view kUnnamedGbk = "\xCE\xB4\xC3\xFC\xC3\xFB";

}  // namespace carteloom
