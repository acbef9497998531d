#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "code_page.h"

namespace junmaru {

// Lead bytes of code page 932's double-byte characters.
constexpr bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
constexpr bool IsTrailByte(unsigned char b) {
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// Bytes taken by the character that starts at byte i of s: 2 for a lead
// byte followed by a trail byte, else 1.
inline std::size_t CharLength(std::string_view s, std::size_t i) {
  return IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() &&
                 IsTrailByte(static_cast<unsigned char>(s[i + 1]))
             ? 2
             : 1;
}

// Unicode code point of a character of the code page, as the C library's
// converter on Linux gives it, on every system (so that texts fold alike
// everywhere); kNoCodePoint where the code page maps nothing.
constexpr std::uint32_t kNoCodePoint = 0xFFFFFFFF;
std::uint32_t SingleByteCodePoint(unsigned char b);
std::uint32_t DoubleByteCodePoint(unsigned char lead, unsigned char trail);

// Text of the code page as UTF-8 by the same mapping, alike on every
// system. A character the code page does not map (a lone byte such as
// 0x80, a lead byte without its trail byte, a pair outside the table)
// becomes U+FFFD, and exact is set to false; otherwise it is left alone.
std::string Cp932ToUtf8Replacing(std::string_view cp932, bool& exact);

// The code page 932 form of a Unicode code point, the inverse of the two
// above, as Windows converts without best fit: a single byte (below
// 0x100), or a lead byte and a trail byte as lead << 8 | trail; kNoCp932
// where the code page has no form. A character that the code page encodes
// at several codes takes the one Windows writes: the lowest, except that
// the NEC-selected IBM extensions (0xED40 to 0xEEFC) give way to the IBM
// extensions (0xFA40 on).
constexpr std::uint16_t kNoCp932 = 0xFFFF;
std::uint16_t Cp932OfCodePoint(std::uint32_t code_point);

}  // namespace junmaru
