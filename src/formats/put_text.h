#pragma once
// Writing text into room already made for it (see OutputFile::Room).
#include <cstring>
#include <string_view>

namespace carteloom {

inline char* PutText(char* out, std::string_view text) {
  if (!text.empty()) std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

}  // namespace carteloom
