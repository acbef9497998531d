#include <array>

#include "cp932.h"

namespace junmaru {
namespace {

constexpr std::array<std::uint16_t, 60 * 188> kDoubleByte = {
#include "cp932_unicode_table.inc"
};

}  // namespace

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
