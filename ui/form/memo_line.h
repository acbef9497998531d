#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace junmaru::form {

// A memo line is read up to this many bytes; the cut may split a
// double-byte character, as every byte cut does.
constexpr std::size_t kMemoLineMax = 4096;

inline std::string CapMemoLine(std::string_view cp932_line) {
  return std::string(cp932_line.substr(0, kMemoLineMax));
}

}  // namespace junmaru::form
