#pragma once

// The byte-string rules every part of the program shares: positions are
// 1-based byte positions, lengths count bytes, and a cut may split a
// double-byte character.

#include <cstddef>
#include <cstring>
#include <string_view>

namespace junmaru {

// The first n bytes (the whole text when it is shorter; empty for n <= 0).
inline std::string_view LeftBytes(std::string_view s, long long n) {
  if (n <= 0) return {};
  return s.substr(0, static_cast<std::size_t>(n) < s.size() ? static_cast<std::size_t>(n) : s.size());
}

// The last n bytes (the whole text when it is shorter; empty for n <= 0).
inline std::string_view RightBytes(std::string_view s, long long n) {
  if (n <= 0) return {};
  if (static_cast<std::size_t>(n) >= s.size()) return s;
  return s.substr(s.size() - static_cast<std::size_t>(n));
}

// The count bytes from 1-based position pos. Empty when pos lies past the
// end or count <= 0; stops at the end of s. A position below 1 is taken as 1.
inline std::string_view MidBytes(std::string_view s, long long pos, long long count) {
  if (pos < 1) pos = 1;
  if (count <= 0 || static_cast<unsigned long long>(pos) > s.size()) return {};
  std::size_t start = static_cast<std::size_t>(pos - 1);
  std::size_t rest = s.size() - start;
  std::size_t len = static_cast<unsigned long long>(count) < rest ? static_cast<std::size_t>(count) : rest;
  return s.substr(start, len);
}

// 1-based position of the first occurrence of needle in s; 0 when it does
// not occur or needle is empty.
inline std::size_t BytePos(std::string_view needle, std::string_view s) {
  if (needle.empty() || needle.size() > s.size()) return 0;
#ifdef __GLIBC__
  const void* hit = memmem(s.data(), s.size(), needle.data(), needle.size());
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - s.data()) + 1 : 0;
#else  // no memmem in the Windows C library
  const std::size_t at = s.find(needle);
  return at == std::string_view::npos ? 0 : at + 1;
#endif
}

inline bool StartsWithBytes(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && std::memcmp(s.data(), prefix.data(), prefix.size()) == 0;
}

inline bool EndsWithBytes(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() &&
         std::memcmp(s.data() + s.size() - suffix.size(), suffix.data(), suffix.size()) == 0;
}

}  // namespace junmaru
