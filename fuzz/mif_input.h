#pragma once
// A fuzz input for the MIF converters: the MIF text, then optionally the
// marker NUL "MID" NUL and the MID text.
#include <cstdint>
#include <string>
#include <string_view>

namespace carteloom::fuzz {

struct MifInput {
  std::string mif;
  std::string mid;
};

inline MifInput SplitMifInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::string_view kMarker{"\0MID\0", 5};
  std::string_view all(reinterpret_cast<const char*>(data), size);
  std::size_t at = all.find(kMarker);
  if (at == std::string_view::npos) return {std::string(all), {}};
  return {std::string(all.substr(0, at)), std::string(all.substr(at + kMarker.size()))};
}

}  // namespace carteloom::fuzz
