#include <array>

#include "cp932.h"

namespace junmaru {
namespace {

constexpr std::array<std::uint16_t, 60 * 188> kDoubleByte = {
#include "cp932_unicode_table.inc"
};

bool IsNecSelectedIbm(std::uint16_t code) { return code >= 0xED40 && code <= 0xEEFC; }

// The code of every code point of the Basic Multilingual Plane (the code
// page reaches no other), built once from the tables above.
std::array<std::uint16_t, 0x10000> InverseTable() {
  std::array<std::uint16_t, 0x10000> codes;
  codes.fill(kNoCp932);
  for (unsigned b = 0; b < 0x100; ++b)
    if (const std::uint32_t u = SingleByteCodePoint(static_cast<unsigned char>(b)); u != kNoCodePoint)
      codes[u] = static_cast<std::uint16_t>(b);
  // Ascending codes: the first one met is the lowest.
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead)
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      const std::uint32_t u = DoubleByteCodePoint(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
      if (u == kNoCodePoint) continue;
      const auto code = static_cast<std::uint16_t>(lead << 8 | trail);
      if (codes[u] == kNoCp932 || (IsNecSelectedIbm(codes[u]) && !IsNecSelectedIbm(code))) codes[u] = code;
    }
  return codes;
}

}  // namespace

std::uint16_t Cp932OfCodePoint(std::uint32_t code_point) {
  static const std::array<std::uint16_t, 0x10000> kCodes = InverseTable();
  return code_point < kCodes.size() ? kCodes[code_point] : kNoCp932;
}

std::uint32_t SingleByteCodePoint(unsigned char b) {
  if (b < 0x80) return b;
  if (b >= 0xA1 && b <= 0xDF) return 0xFF61 + (b - 0xA1u);  // half-width katakana
  return kNoCodePoint;
}

std::uint32_t DoubleByteCodePoint(unsigned char lead, unsigned char trail) {
  if (!IsLeadByte(lead) || !IsTrailByte(trail)) return kNoCodePoint;
  const unsigned row = lead <= 0x9F ? lead - 0x81u : lead - 0xE0u + 31;
  const unsigned column = trail <= 0x7E ? trail - 0x40u : trail - 0x80u + 63;
  const std::uint16_t u = kDoubleByte[row * 188 + column];
  return u == 0 ? kNoCodePoint : u;
}

std::string Cp932ToUtf8Replacing(std::string_view cp932, bool& exact) {
  std::string utf8;
  utf8.reserve(cp932.size() + cp932.size() / 2);
  for (std::size_t i = 0; i < cp932.size();) {
    const std::size_t length = CharLength(cp932, i);
    const auto first = static_cast<unsigned char>(cp932[i]);
    std::uint32_t u = length == 2 ? DoubleByteCodePoint(first, static_cast<unsigned char>(cp932[i + 1]))
                                  : SingleByteCodePoint(first);
    i += length;
    if (u == kNoCodePoint) {
      u = 0xFFFD;
      exact = false;
    }
    if (u < 0x80) {
      utf8 += static_cast<char>(u);
    } else if (u < 0x800) {
      utf8 += static_cast<char>(0xC0 | u >> 6);
      utf8 += static_cast<char>(0x80 | (u & 0x3F));
    } else {  // the code page maps nothing beyond the first plane
      utf8 += static_cast<char>(0xE0 | u >> 12);
      utf8 += static_cast<char>(0x80 | (u >> 6 & 0x3F));
      utf8 += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return utf8;
}

}  // namespace junmaru
