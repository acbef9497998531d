// The built-in code page table against the C library's converter: every
// single byte and every byte pair must give the same code point, so that
// the text comparison folds exactly as it did when it asked iconv.

#include <gtest/gtest.h>
#include <iconv.h>

#include "cp932.h"

namespace junmaru {
namespace {

std::uint32_t IconvCodePoint(iconv_t cd, const unsigned char* bytes, std::size_t n) {
  char in[2] = {static_cast<char>(bytes[0]), static_cast<char>(n > 1 ? bytes[1] : 0)};
  unsigned char out[8];
  char* src = in;
  size_t src_left = n;
  char* dst = reinterpret_cast<char*>(out);
  size_t dst_left = sizeof out;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &src, &src_left, &dst, &dst_left) == static_cast<size_t>(-1) || src_left != 0 ||
      sizeof out - dst_left != 4)
    return kNoCodePoint;
  return (std::uint32_t{out[0]} << 24) | (std::uint32_t{out[1]} << 16) | (std::uint32_t{out[2]} << 8) | out[3];
}

TEST(Cp932Table, AgreesWithIconvOnEveryByteAndPair) {
  iconv_t cd = iconv_open("UTF-32BE", "CP932");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  int mismatches = 0;
  for (unsigned b = 0; b < 256; ++b) {
    const auto byte = static_cast<unsigned char>(b);
    if (IsLeadByte(byte)) continue;
    const std::uint32_t expected = IconvCodePoint(cd, &byte, 1);
    EXPECT_EQ(SingleByteCodePoint(byte), expected) << "byte 0x" << std::hex << b;
    mismatches += SingleByteCodePoint(byte) != expected;
  }
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      const unsigned char pair[2] = {static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)};
      if (!IsLeadByte(pair[0]) || !IsTrailByte(pair[1])) continue;
      const std::uint32_t expected = IconvCodePoint(cd, pair, 2);
      if (DoubleByteCodePoint(pair[0], pair[1]) != expected && ++mismatches <= 10)
        ADD_FAILURE() << "pair 0x" << std::hex << lead * 256 + trail;
    }
  }
  iconv_close(cd);
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace junmaru
