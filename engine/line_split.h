#pragma once

// How a file's bytes become lines: a NUL byte ends the text; lines end at
// CR LF, at a lone CR and at a lone LF (so LF followed by CR is two breaks
// with an empty line between); a break at the very end adds no empty line;
// an empty text has no lines.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "simd_bytes.h"

namespace junmaru {

// The CR, LF and NUL bytes among 64 bytes of a text, one bit per byte
// (bit i for byte at + i); bytes at or beyond size give no bit.
struct ByteMasks {
  std::uint64_t cr = 0, lf = 0, nul = 0;
};

[[gnu::always_inline]] inline ByteMasks MasksAt(const char* base, std::size_t size, std::size_t at) {
  ByteMasks m;
#if defined(__SSE2__)
  if (at + 64 <= size) {
    const Bytes64 bytes(base + at);
    m.lf = bytes.Bits(IsLf);
    // Most logs hold neither CR nor NUL: one test says so for all 64 bytes.
    if (!bytes.None([](__m128i v) { return _mm_or_si128(IsCr(v), IsNul(v)); })) {
      m.cr = bytes.Bits(IsCr);
      m.nul = bytes.Bits(IsNul);
    }
    return m;
  }
#endif
  for (std::size_t i = at; i < size && i < at + 64; ++i) {
    const std::uint64_t bit = std::uint64_t{1} << (i - at);
    if (base[i] == '\r') m.cr |= bit;
    if (base[i] == '\n') m.lf |= bit;
    if (base[i] == '\0') m.nul |= bit;
  }
  return m;
}

// The bytes among 64 that may be CR, LF or NUL: every one of those, and
// the other control bytes below CR (tab, for one), which the caller tells
// apart by looking at the byte. One test finds them all.
[[gnu::always_inline]] inline std::uint64_t EndCandidatesAt(const char* base, std::size_t size, std::size_t at) {
#if defined(__SSE2__)
  if (at + 64 <= size)
    return Bytes64(base + at).Bits([](__m128i v) { return _mm_cmpeq_epi8(_mm_min_epu8(v, _mm_set1_epi8('\r')), v); });
#endif
  const ByteMasks m = MasksAt(base, size, at);
  return m.cr | m.lf | m.nul;
}

// The number of bits set in x, without asking for a processor instruction
// the build does not assume.
inline unsigned CountBits(std::uint64_t x) {
  x = x - ((x >> 1) & 0x5555555555555555ull);
  x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
  return static_cast<unsigned>((x * 0x0101010101010101ull) >> 56);
}

// Calls on_line(begin, end) with the byte offsets of every line of text,
// in which a NUL is an ordinary byte (the settings file keeps them). Each
// byte is looked at by memchr only, so the split runs at memory speed.
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

// The same rules in one pass over bytes that may hold a NUL: calls
// on_line(begin, end) for every line of the text before the first NUL and
// returns the length of that text. Sixteen bytes at a time are compared
// with LF, CR and NUL at once, so each byte of a large log is read once.
// The log's lines and the text list's lines both come from here.
template <class OnLine>
std::size_t SplitLinesBeforeNul(std::string_view bytes, OnLine on_line) {
  const char* base = bytes.data();
  const std::size_t size = bytes.size();
  std::size_t start = 0;  // where the next line begins
  // Handles the LF, CR or NUL at p; true when it is the NUL that ends the text.
  auto at_break = [&](std::size_t p) {
    const char c = base[p];
    if (c == '\0') return true;
    if (p < start) return false;  // the LF of a CR LF, taken with its CR
    on_line(start, p);
    start = p + ((c == '\r' && p + 1 < size && base[p + 1] == '\n') ? 2 : 1);
    return false;
  };
  auto finish = [&](std::size_t end) {
    if (start < end) on_line(start, end);  // a last line without a break
    return end;
  };
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i nul = _mm_setzero_si128();
  for (; i + 64 <= size; i += 64) {
    std::uint64_t mask = 0;
    for (int k = 0; k < 4; ++k) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + i + 16 * k));
      const __m128i hit =
          _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)), _mm_cmpeq_epi8(v, nul));
      mask |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(hit))} << (16 * k);
    }
    for (; mask != 0; mask &= mask - 1) {
      const std::size_t p = i + static_cast<std::size_t>(__builtin_ctzll(mask));
      if (at_break(p)) return finish(p);
    }
  }
#endif
  for (; i < size; ++i) {
    const char c = base[i];
    if ((c == '\n' || c == '\r' || c == '\0') && at_break(i)) return finish(i);
  }
  return finish(size);
}

}  // namespace junmaru
