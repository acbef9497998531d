#include "byte_string.h"

#include <gtest/gtest.h>

namespace junmaru {
namespace {

struct MidCase {
  const char* name;
  const char* text;
  long long pos, count;
  const char* expected;
};

TEST(ByteString, MidFollowsOneBasedRules) {
  const MidCase cases[] = {
      {"from_start", "abcdef", 1, 3, "abc"},
      {"inside", "abcdef", 3, 2, "cd"},
      {"runs_past_end_stops_there", "abcdef", 5, 10, "ef"},
      {"begins_past_end_is_empty", "abcdef", 7, 1, ""},
      {"zero_length_is_empty", "abcdef", 2, 0, ""},
      {"negative_length_is_empty", "abcdef", 2, -3, ""},
      {"last_byte", "abcdef", 6, 1, "f"},
      {"cuts_a_double_byte_character", "\x83\x63\x83\x43", 2, 2, "\x63\x83"},
  };
  for (const auto& c : cases) EXPECT_EQ(MidBytes(c.text, c.pos, c.count), c.expected) << c.name;
}

TEST(ByteString, LeftAndRightOfShortTextAreWholeText) {
  EXPECT_EQ(LeftBytes("abc", 5), "abc");
  EXPECT_EQ(RightBytes("abc", 5), "abc");
  EXPECT_EQ(RightBytes("abcdef", 2), "ef");
  EXPECT_EQ(LeftBytes("abcdef", 0), "");
  EXPECT_EQ(RightBytes("abcdef", -1), "");
}

TEST(ByteString, PosIsFirstOccurrenceOrZero) {
  EXPECT_EQ(BytePos("b", "abcb"), 2u);
  EXPECT_EQ(BytePos("x", "abcb"), 0u);
  EXPECT_EQ(BytePos("", "abcb"), 0u);
  EXPECT_EQ(BytePos("abcbc", "abcb"), 0u);
  EXPECT_EQ(BytePos("B", "abcb"), 0u) << "equality of bytes is case-sensitive";
}

}  // namespace
}  // namespace junmaru
