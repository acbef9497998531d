#pragma once

// Sixty-four bytes of a text looked at together: SSE2 compares sixteen
// bytes at once, and a block of four gives one 64-bit mask, a bit per byte,
// whose set bits a loop visits with count-trailing-zeros.

#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace junmaru {

#if defined(__SSE2__)
// The 64 bytes at p, sixteen at a time.
struct Bytes64 {
  explicit Bytes64(const char* p)
      : v{_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)),
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16)),
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32)),
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 48))} {}
  // One bit per byte for which hit(sixteen bytes) gives 0xFF.
  template <class Hit>
  std::uint64_t Bits(Hit hit) const {
    return std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(hit(v[0])))} |
           std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(hit(v[1])))} << 16 |
           std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(hit(v[2])))} << 32 |
           std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(hit(v[3])))} << 48;
  }
  // True when hit gives 0xFF for none of the bytes.
  template <class Hit>
  bool None(Hit hit) const {
    return _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(hit(v[0]), hit(v[1])), _mm_or_si128(hit(v[2]), hit(v[3])))) == 0;
  }
  __m128i v[4];
};

inline __m128i IsCr(__m128i v) { return _mm_cmpeq_epi8(v, _mm_set1_epi8('\r')); }
inline __m128i IsLf(__m128i v) { return _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')); }
inline __m128i IsNul(__m128i v) { return _mm_cmpeq_epi8(v, _mm_setzero_si128()); }
inline __m128i IsQuote(__m128i v) { return _mm_cmpeq_epi8(v, _mm_set1_epi8('"')); }
inline __m128i IsBackslash(__m128i v) { return _mm_cmpeq_epi8(v, _mm_set1_epi8('\\')); }

// One bit per byte of the sixteen at p, set where the byte is c.
inline unsigned Matches16(const char* p, char c) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(c))));
}
#endif

// Calls at_quote(q) for the position q of every double quote of line, in
// order, until it returns true. Sixty-four bytes are compared at a time:
// the fields of a log line are found by their quotes, and a line holds a
// handful of them, so this is quicker than a search per quote.
template <class AtQuote>
void ForEachQuote(std::string_view line, AtQuote at_quote) {
  const char* base = line.data();
  std::size_t i = 0;
#if defined(__SSE2__)
  for (; i + 64 <= line.size(); i += 64)
    for (std::uint64_t mask = Bytes64(base + i).Bits(IsQuote); mask != 0; mask &= mask - 1)
      if (at_quote(i + static_cast<std::size_t>(__builtin_ctzll(mask)))) return;
  for (; i + 16 <= line.size(); i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + i));
    for (unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(IsQuote(v))); mask != 0; mask &= mask - 1)
      if (at_quote(i + static_cast<std::size_t>(__builtin_ctz(mask)))) return;
  }
  if (i < line.size() && line.size() >= 16) {
    // The last sixteen bytes, of which the first were looked at already.
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + line.size() - 16));
    const unsigned seen = static_cast<unsigned>(16 - (line.size() - i));
    for (unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(IsQuote(v))) >> seen; mask != 0; mask &= mask - 1)
      if (at_quote(i + static_cast<std::size_t>(__builtin_ctz(mask)))) return;
    return;
  }
#endif
  for (; i < line.size(); ++i)
    if (base[i] == '"' && at_quote(i)) return;
}

}  // namespace junmaru
