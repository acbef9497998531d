#include "html_escape.h"

#include <gtest/gtest.h>

namespace junmaru {
namespace {

struct EscapeCase {
  const char* name;
  std::string in;
  std::string out;
};

class EscapeHtmlTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(EscapeHtmlTest, ReplacesExactlyTheFiveCharacters) { EXPECT_EQ(EscapeHtml(GetParam().in), GetParam().out); }

INSTANTIATE_TEST_SUITE_P(
    Table, EscapeHtmlTest,
    ::testing::Values(
        EscapeCase{"Empty", "", ""},
        EscapeCase{"PlainPath", "/dl/tool.lzh", "/dl/tool.lzh"},
        EscapeCase{"Ampersand", "a&b", "a&amp;b"},
        EscapeCase{"AngleBrackets", "<script>", "&lt;script&gt;"},
        EscapeCase{"DoubleQuoteEndsNoAttribute", "x\" onmouseover=\"y", "x&quot; onmouseover=&quot;y"},
        EscapeCase{"SingleQuote", "it's", "it&#39;s"},
        EscapeCase{"AlreadyEscapedIsEscapedAgain", "&amp;", "&amp;amp;"},
        EscapeCase{"OtherPunctuationKept", "/a b%20c=d;e#f?g\\h", "/a b%20c=d;e#f?g\\h"},
        // 表 is 0x95 0x5C and ソ 0x83 0x5C: a trail byte that looks like "\" stays.
        EscapeCase{"DoubleByteCharactersKept", "/\x95\x5C\x83\x5C.zip", "/\x95\x5C\x83\x5C.zip"},
        EscapeCase{"LoneLeadByteBeforeSpecial", "\x82<", "\x82&lt;"},
        EscapeCase{"AllFive", "&<>\"'", "&amp;&lt;&gt;&quot;&#39;"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace junmaru
