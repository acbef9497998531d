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

}  // namespace junmaru
