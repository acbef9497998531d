// The Decode rule's conversion into code page 932 against Windows' own:
// WideCharToMultiByte(932) without best fit, for every code point of the
// Basic Multilingual Plane (the code page reaches no other). Both must give
// the same code, or both none; the few places where Windows maps a code
// point that the program's table leaves out are listed below.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "cp932.h"

namespace junmaru {
namespace {

// Windows' code of u, or kNoCp932 when it has none without best fit.
std::uint16_t WindowsCode(std::uint32_t u) {
  const wchar_t wide = static_cast<wchar_t>(u);
  char bytes[4];
  BOOL defaulted = FALSE;
  const int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes, sizeof bytes, nullptr, &defaulted);
  if (n <= 0 || defaulted) return kNoCp932;
  return n == 1 ? static_cast<unsigned char>(bytes[0])
                : static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[0]) << 8 | static_cast<unsigned char>(bytes[1]));
}

TEST(CodePageWindows, TheDecodeRuleWritesWhatWindowsWrites) {
  // Code points Windows gives a single byte the table does not read as
  // characters (0x80, and the three bytes 0xFD to 0xFF by private use
  // points), which the program leaves as they are.
  const std::set<std::uint32_t> windows_only = {0x80, 0xF8F0, 0xF8F1, 0xF8F2, 0xF8F3};
  int differences = 0;
  for (std::uint32_t u = 0; u < 0x10000; ++u) {
    if (u >= 0xD800 && u <= 0xDFFF) continue;  // surrogates are no characters
    const std::uint16_t windows = WindowsCode(u), program = Cp932OfCodePoint(u);
    if (windows == program) continue;
    if (program == kNoCp932 && windows_only.count(u)) continue;
    if (++differences <= 20) ADD_FAILURE() << std::hex << "U+" << u << ": Windows " << windows << ", program " << program;
  }
  EXPECT_EQ(differences, 0);
}

}  // namespace
}  // namespace junmaru
