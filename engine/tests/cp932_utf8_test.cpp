// Code page 932 text as UTF-8 by the program's own table, with U+FFFD for
// what the code page does not map.

#include <gtest/gtest.h>

#include "cp932.h"

namespace junmaru {
namespace {

struct Utf8Case {
  const char* name;
  std::string cp932;
  std::string utf8;
  bool exact;
};

class Cp932ToUtf8ReplacingTest : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Cp932ToUtf8ReplacingTest, Converts) {
  const Utf8Case& c = GetParam();
  bool exact = true;
  EXPECT_EQ(Cp932ToUtf8Replacing(c.cp932, exact), c.utf8);
  EXPECT_EQ(exact, c.exact);
}

const std::string kFffd = "\xEF\xBF\xBD";

INSTANTIATE_TEST_SUITE_P(
    Table, Cp932ToUtf8ReplacingTest,
    ::testing::Values(Utf8Case{"Ascii", "/dl/a.zip", "/dl/a.zip", true},
                      Utf8Case{"KanjiWithBackslashTrail", "\x95\x5C\x83\x5C", "表ソ", true},
                      Utf8Case{"HalfWidthKana", "\xB6\xDE", "ｶﾞ", true},
                      Utf8Case{"NecAndIbmDuplicatesAlike", "\xED\x40\xFA\x5C", "纊纊", true},
                      Utf8Case{"LoneBytesWithoutCharacter", "\x80" "a\xA0\xFD", kFffd + "a" + kFffd + kFffd, false},
                      Utf8Case{"LeadByteAtTheEnd", "a\x81", "a" + kFffd, false},
                      Utf8Case{"LeadByteBeforeAByteThatCannotTrail", "\x81" "\x20", kFffd + " ", false},
                      Utf8Case{"PairOutsideTheTableIsOneCharacter", "\x85\x40" "a", kFffd + "a", false},
                      Utf8Case{"ControlBytesKept", std::string("\x00\x01\x7F", 3), std::string("\x00\x01\x7F", 3), true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace junmaru
