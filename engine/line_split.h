#pragma once

// How a file's bytes become lines: a NUL byte ends the text; lines end at
// CR LF, at a lone CR and at a lone LF (so LF followed by CR is two breaks
// with an empty line between); a break at the very end adds no empty line;
// an empty text has no lines.

#include <cstddef>
#include <cstring>
#include <string_view>

namespace junmaru {

// The text up to its first NUL byte.
inline std::string_view TextBeforeNul(std::string_view bytes) {
  const void* nul = std::memchr(bytes.data(), '\0', bytes.size());
  return nul ? bytes.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - bytes.data())) : bytes;
}

// Calls on_line(begin, end) with the byte offsets of every line of text
// (text must already end before any NUL). Each byte is looked at by memchr
// only, so the split runs at memory speed.
template <class OnLine>
void SplitLines(std::string_view text, OnLine on_line) {
  const char* base = text.data();
  const std::size_t size = text.size();
  auto find = [&](char c, std::size_t from) {
    const void* hit = from < size ? std::memchr(base + from, c, size - from) : nullptr;
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - base) : size;
  };
  std::size_t next_lf = find('\n', 0);
  std::size_t next_cr = find('\r', 0);
  std::size_t start = 0;
  while (start < size) {
    if (next_lf < start) next_lf = find('\n', start);
    if (next_cr < start) next_cr = find('\r', start);
    std::size_t end = next_lf < next_cr ? next_lf : next_cr;
    on_line(start, end);
    if (end == size) break;
    start = end + ((base[end] == '\r' && end + 1 < size && base[end + 1] == '\n') ? 2 : 1);
  }
}

}  // namespace junmaru
