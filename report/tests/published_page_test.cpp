// The page is published and lists paths that strangers requested: no link
// built from a request path may leave the keeper's site or run script,
// whatever the prefix, and no value from the settings file may open markup.
// Ordinary paths and ordinary settings still give today's bytes.

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "byte_sink.h"
#include "download_log.h"
#include "html_escape.h"
#include "ranking_run.h"
#include "recording_view.h"
#include "report_document.h"

namespace junmaru {
namespace {

using namespace std::string_literals;

struct LinkCase {
  const char* name;
  std::string prefix, path, href;
};

class LinkTargetTest : public ::testing::TestWithParam<LinkCase> {};

TEST_P(LinkTargetTest, EncodesOnlyWhatWouldLeaveTheSite) {
  EXPECT_EQ(LinkTarget(GetParam().prefix, GetParam().path), GetParam().href);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LinkTargetTest,
    ::testing::Values(
        LinkCase{"OrdinaryPath", "./", "dl/tool.lzh", "./dl/tool.lzh"},
        LinkCase{"OrdinaryPathEmptyPrefix", "", "dl/tool.lzh", "dl/tool.lzh"},
        LinkCase{"OrdinaryPathParentPrefix", "../dl/", "tool.lzh", "../dl/tool.lzh"},
        LinkCase{"ColonAfterTheFirstSlashKept", "", "dl/a:b.zip", "dl/a:b.zip"},
        LinkCase{"PercentAndQueryKept", "./", "dl/a%20b.zip?x=1#y", "./dl/a%20b.zip?x=1#y"},
        LinkCase{"DoubleByteWithBackslashTrailKept", "./", "\x95\x5C/\x83\x5C.zip", "./\x95\x5C/\x83\x5C.zip"},
        LinkCase{"QuotesEscaped", "./", "a\"onmouseover=\"x.zip", "./a&quot;onmouseover=&quot;x.zip"},
        LinkCase{"SchemeAfterEmptyPrefix", "", "javascript:alert(document.cookie)//.zip",
                 "javascript%3Aalert(document.cookie)//.zip"},
        LinkCase{"SchemeCompletedByThePrefix", "java", "script:alert(1)", "javascript%3Aalert(1)"},
        LinkCase{"ColonAfterThePrefixsSlashKept", "./", "javascript:x.zip", "./javascript:x.zip"},
        LinkCase{"AuthorityAfterEmptyPrefix", "", "//evil.example/a.zip", "%2F/evil.example/a.zip"},
        LinkCase{"BackslashAuthorityAfterEmptyPrefix", "", "\\\\evil.example/a.zip", "%5C\\evil.example/a.zip"},
        LinkCase{"AuthorityAfterSlashPrefix", "/", "/evil.example/b.zip", "/%2Fevil.example/b.zip"},
        LinkCase{"BackslashAuthorityAfterSlashPrefix", "/", "\\evil.example/b.zip", "/%5Cevil.example/b.zip"},
        LinkCase{"AuthorityAfterSchemePrefix", "http:", "//evil.example/", "http:%2F/evil.example/"},
        LinkCase{"TabBrowsersDrop", "", "\t//evil.example/", "%09//evil.example/"},
        LinkCase{"LeadingSpaceBrowsersDrop", "", " //evil.example/", "%20//evil.example/"},
        LinkCase{"NewlineInsideAScheme", "", "java\nscript:x", "java%0Ascript%3Ax"},
        LinkCase{"KeeperPrefixAsTyped", "http://example.jp/dl/", "a.zip", "http://example.jp/dl/a.zip"},
        LinkCase{"KeeperPrefixEscaped", "./\"><script>", "a.zip", "./&quot;&gt;&lt;script&gt;a.zip"},
        LinkCase{"KeeperPrefixControlBytesDropped", ".\0/\x01\x7F"s, "a.zip", "./a.zip"}),
    [](const auto& info) { return std::string(info.param.name); });

struct AttributeCase {
  const char* name;
  std::string in, out;
};

class EscapeAttributeTest : public ::testing::TestWithParam<AttributeCase> {};

TEST_P(EscapeAttributeTest, StaysInsideItsAttribute) { EXPECT_EQ(EscapeAttribute(GetParam().in), GetParam().out); }

INSTANTIATE_TEST_SUITE_P(
    Table, EscapeAttributeTest,
    ::testing::Values(AttributeCase{"HexColour", "#FF0000", "#FF0000"}, AttributeCase{"NamedColour", "red", "red"},
                      AttributeCase{"Empty", "", ""}, AttributeCase{"DotSlash", "./", "./"},
                      AttributeCase{"ParentFolder", "../dl/", "../dl/"},
                      AttributeCase{"ScriptAfterColour", "#00\"><script>alert(1)</script>",
                                    "#00&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;"},
                      AttributeCase{"EventHandler", "red\" onmouseover=\"alert(2)", "red&quot; onmouseover&#61;&quot;alert(2)"},
                      AttributeCase{"QueryPrefix", "/cgi/dl.cgi?f=", "/cgi/dl.cgi?f&#61;"},
                      AttributeCase{"SingleQuote", "red' x='y", "red&#39; x&#61;&#39;y"},
                      AttributeCase{"ControlBytesDropped", "#00\0\tFF\r\n\x1F\x7F"s "00", "#00FF00"}),
    [](const auto& info) { return std::string(info.param.name); });

// What a browser makes of an href: blanks and controls at the ends and
// tabs and line breaks inside are dropped; then whether it names a scheme
// or, with no scheme of its own beyond the keeper's, another host.
bool LeavesTheSite(std::string href, const std::string& prefix) {
  href = std::regex_replace(href, std::regex("[\t\n\r]"), "");
  href = std::regex_replace(href, std::regex("^[\\x00-\\x20]+"), "");
  if (prefix.find(':') == std::string::npos)
    return std::regex_search(href, std::regex("^([A-Za-z][A-Za-z0-9+.-]*:|[/\\\\][/\\\\])"));
  // The keeper's own scheme (and host): what follows may not begin another.
  return href.compare(0, prefix.size(), prefix) != 0 || std::regex_search(href.substr(prefix.size()), std::regex("^[/\\\\]"));
}

// Every attack path of a stranger, with every prefix a keeper might type:
// the whole page, as the run makes it, links to nowhere else; ordinary paths
// are still linked as before; hostile colours open no markup.
TEST(PublishedPage, StrangersPathsAndHostileSettingsCannotAttackTheReader) {
  const std::vector<std::string> attacks = {
      "/javascript:alert(document.cookie)//.zip", "///evil.example/a.zip", "/\\evil.example/b.zip",
      "//\\evil.example/c.zip", "/\\/evil.example/d.zip", "/JaVaScRiPt:alert(1)//e.zip",
      "/data:text/html,<script>alert(1)</script>.zip", "/ //evil.example/f.zip", "/\t//evil.example/g.zip",
      "/script:alert(3)//h.zip", "/\\\\evil.example/i.zip"};
  std::vector<std::pair<std::string, int>> counts = {{"/dl/tool.lzh", 3}};
  for (const std::string& path : attacks) counts.push_back({path, 2});
  const LogLines log = testing::LogOf(counts);
  for (const std::string prefix : {"", "/", "./", "java", "http:", "http://example.jp/dl/"}) {
    Settings settings;
    settings.PStart = 1;
    settings.PEnd = static_cast<long long>(log.Count());
    settings.Link = true;
    settings.Prefix = prefix;
    settings.CBG = "#00\"><script>alert(1)</script>";
    settings.CText1 = "red\" onmouseover=\"alert(2)";
    settings.CLink = "#00'><script>alert(4)</script>";
    testing::RecordingView view;
    std::string page;
    StringSink sink(page);
    WriteReport(ComposeReport(log, settings, RunRanking(log, settings, view), view), sink);
    EXPECT_EQ(page.find("<script"), std::string::npos) << prefix;
    EXPECT_EQ(page.find("onmouseover="), std::string::npos) << prefix;
    EXPECT_NE(page.find("<a href=\"" + prefix + "dl/tool.lzh\">/dl/tool.lzh</a>"), std::string::npos) << prefix;
    int links = 0;
    const std::regex href("href=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(page.begin(), page.end(), href); it != std::sregex_iterator(); ++it, ++links)
      EXPECT_FALSE(LeavesTheSite((*it)[1], prefix)) << "prefix '" << prefix << "': " << (*it)[1];
    EXPECT_EQ(links, static_cast<int>(counts.size())) << prefix;
  }
}

}  // namespace
}  // namespace junmaru
