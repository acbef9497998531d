// The Win32 window's rules that need no window: how the memo's text becomes
// its lines, and which typed characters each kind of spin edit takes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kept_text.h"
#include "memo_line.h"
#include "memo_text.h"
#include "spin_typing.h"

namespace junmaru::win32 {
namespace {

using Lines = std::vector<std::string>;

TEST(MemoTextLines, SplitsAtTheEditsLineBreaks) {
  const struct {
    const char* name;
    std::string text;
    Lines lines;
  } cases[] = {
      {"empty memo has no lines", "", {}},
      {"one word", "abc", {"abc"}},
      {"final break adds no line", "abc\r\n", {"abc"}},
      {"empty line between words counts", "a\r\n\r\nb", {"a", "", "b"}},
      {"a lone break is one empty line", "\r\n", {""}},
      {"two final breaks leave one empty line", "a\r\n\r\n", {"a", ""}},
      {"a pasted lone CR or LF breaks the line too", "a\rb\nc", {"a", "b", "c"}},
      {"code page 932 bytes pass as they are", "\x97\xe1\x81\x6a\x8b\xd6\r\n\x83\x5c", {"\x97\xe1\x81\x6a\x8b\xd6", "\x83\x5c"}},
  };
  for (const auto& c : cases) EXPECT_EQ(MemoTextLines(c.text), c.lines) << c.name;
}

TEST(MemoTextLines, CutsEachLineAtTheLimit) {
  const std::string long_line(junmaru::form::kMemoLineMax + 5, 'w');
  const Lines lines = MemoTextLines(long_line + "\r\nx");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), junmaru::form::kMemoLineMax);
  EXPECT_EQ(lines[1], "x");
}

TEST(MemoTextOf, JoinsLinesSoThatTheyReadBack) {
  for (const Lines& lines : {Lines{}, Lines{"a"}, Lines{"a", "", "b"}, Lines{"", "x"}}) {
    EXPECT_EQ(MemoTextLines(MemoTextOf(lines)), lines);
  }
}

TEST(KeptTexts, TextsThatShowAlikeReadBackInTheOrderTheyWereSet) {
  KeptTexts kept;
  kept.Keep("\xFA\x5C", "\xED\x40");
  kept.Keep("\xFA\x5C", "\xFA\x5C");
  EXPECT_EQ(kept.Original("\xFA\x5C", 0), "\xED\x40");
  EXPECT_EQ(kept.Original("\xFA\x5C", 1), "\xFA\x5C");
  EXPECT_EQ(kept.Original("\xFA\x5C", 2), "\xFA\x5C") << "a third one was typed";
  EXPECT_EQ(kept.Original("typed"), "typed");
  kept.Clear();
  EXPECT_EQ(kept.Original("\xFA\x5C"), "\xFA\x5C");
}

TEST(SpinCharAction, TypingRulesOfEachKind) {
  using enum CharAction;
  const struct {
    SpinTyping typing;
    unsigned char c;
    CharAction action;
  } cases[] = {
      {SpinTyping::kNumber, '0', kAccept},   {SpinTyping::kNumber, '9', kAccept},
      {SpinTyping::kNumber, '+', kAccept},   {SpinTyping::kNumber, '-', kAccept},
      {SpinTyping::kNumber, ',', kAccept},   // the locale's separator in this table
      {SpinTyping::kNumber, '.', kRefuse},   {SpinTyping::kNumber, 'a', kRefuse},
      {SpinTyping::kNumber, ' ', kRefuse},   {SpinTyping::kNumber, 0x82, kRefuse},  // a lead byte
      {SpinTyping::kNumber, '\b', kAccept},  {SpinTyping::kNumber, 0x16, kAccept},  // Backspace, paste
      {SpinTyping::kNumber, '\r', kRefuse},  {SpinTyping::kNumber, '\n', kRefuse},  // Enter
      {SpinTyping::kStepOnly, '5', kRefuse}, {SpinTyping::kStepOnly, '\b', kRefuse},
      {SpinTyping::kStepOnly, 0x03, kAccept}, {SpinTyping::kStepOnly, 0x01, kAccept},  // copy, select all
      {SpinTyping::kStepOnly, 0x16, kIgnore}, {SpinTyping::kStepOnly, 0x18, kIgnore},  // paste, cut
      {SpinTyping::kStepOnly, 0x1A, kIgnore},                                          // undo
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SpinCharAction(c.typing, c.c, ','), c.action)
        << "typing " << static_cast<int>(c.typing) << " char " << static_cast<int>(c.c);
  }
}

}  // namespace
}  // namespace junmaru::win32
