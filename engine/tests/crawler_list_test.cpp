// Python patterns under RE2, and the crawler list of the Bots rule.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cp932.h"
#include "crawler_list.h"
#include "error.h"
#include "pattern_set.h"
#include "python_pattern.h"

namespace junmaru {
namespace {

// Matches as Python's re.search matches the text decoded as Latin-1.
struct MatchCase {
  const char* pattern;
  std::string text;
  bool matches;
};

TEST(PythonPattern, MatchesWherePythonMatches) {
  const MatchCase cases[] = {
      {"Googlebot\\/", "Mozilla/5.0 (compatible; Googlebot/2.1)", true},
      {"Googlebot\\/", "googlebot/2.1", false},  // case-sensitive
      {"^curl", "curl/8.5.0", true},
      {"^curl", "xcurl/8.5.0", false},
      {"SSL Labs$", "SSL Labs", true},
      {"SSL Labs$", "SSL Labs ", false},
      {"AdsBot-Google([^-]|$)", "AdsBot-Google", true},
      {"AdsBot-Google([^-]|$)", "AdsBot-Google-Mobile", false},
      {"(^| )PTST\\/", "x PTST/1", true},
      {"BlogTraffic\\/\\d\\.\\d+ Feed", "BlogTraffic/1.23 Feed", true},
      {"a\\sb", "a\xA0" "b", true},       // Python's \s holds the no-break space
      {"a\\sb", "a\x85" "b", true},       // and the next-line character
      {"a\\sb", "a\x1C" "b", true},
      {"a\\Sb", "a\xA0" "b", false},
      {"a\\wb", "a\xE9" "b", true},       // é is a word character
      {"a\\wb", "a\xB2" "b", true},       // so is the superscript two
      {"a\\wb", "a\xD7" "b", false},      // the multiplication sign is not
      {"a\\Wb", "a\xD7" "b", true},
      {"a\\db", "a\xB2" "b", false},      // but it is no decimal digit
      {"a[\\s\\S]*z", "a\nz", true},
      {"a.z", "a\nz", false},
      {"a.z", "a\xFFz", true},
      {"a[^x]z", "a\nz", true},
      {"x{,2}y", "xxy", true},            // {,2} is {0,2}
      {"a{", "a{", true},                  // a literal brace
      {"a{}", "a{}", true},
      {"a{x}", "a{x}", true},
      {"a{2}", "aa", true},
      {"[]a]", "]", true},
      {"[a-]", "-", true},
      {"[\\]]", "]", true},
      {"\\x41", "A", true},
      {"\\.", "x.y", true},
      {"(?P<name>ab)+", "abab", true},
      {"caf\xC3\xA9", "caf\xE9", true},   // é in the pattern is the byte 0xE9
      {"\\Aab", "ab", true},
      {"ab\\Z", "ab", true},
      {"a*?b", "aab", true},
  };
  for (const MatchCase& c : cases) {
    PatternSet set;
    ASSERT_TRUE(set.Add(c.pattern)) << c.pattern;
    set.Compile();
    EXPECT_EQ(set.AnyMatches(c.text), c.matches) << c.pattern << " on " << c.text;
  }
}

TEST(PythonPattern, RefusesWhatRe2CannotMatchAlike) {
  for (const char* pattern : {"a(?=b)", "a(?!b)", "(?<=a)b", "(?<!a)b", "(a)\\1", "\\bword\\b", "a\\B", "(?i)bot",
                              "(?P=x)", "a++", "a*+", "(?>a)", "\\0", "\\101", "\\u0041", "\\N{SPACE}", "\xE3\x81\x82",
                              "a**", "*a", "(a", "a)", "[a", "[z-a]", "[\\d-z]", "a{3,2}", "\\q", "a{2000}", "\xFF"}) {
    EXPECT_FALSE(Re2FromPython(pattern).has_value() && PatternSet().Add(pattern)) << pattern;
  }
}

TEST(PatternSet, TellsWhichPatternsMatchInTheOrderAdded) {
  PatternSet set;
  for (const char* pattern : {"bot", "^Mozilla", "crawl"}) ASSERT_TRUE(set.Add(pattern));
  set.Compile();
  EXPECT_EQ(set.Matching("Mozilla/5.0 somebot crawler"), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(set.Matching("Mozilla/5.0"), std::vector<int>{1});
  EXPECT_TRUE(set.Matching("Wget").empty());
  // A user agent of megabytes gives the same answers.
  const std::string huge = std::string(4 << 20, 'x') + "crawl" + std::string(1 << 20, '\xE9');
  EXPECT_EQ(set.Matching(huge), std::vector<int>{2});
}

std::shared_ptr<const CrawlerList> FromJson(const std::string& json) { return CrawlerList::FromJson(json, "list.json"); }

TEST(CrawlerList, PeopleWithToolsAreNoCrawlers) {
  const auto list = FromJson(R"([
    {"pattern": "Googlebot\\/", "tags": ["search-engine"]},
    {"pattern": "^curl", "tags": ["http-library"]},
    {"pattern": "HeadlessChrome", "tags": ["browser-automation", "http-library"]},
    {"pattern": "python-requests", "tags": ["http-library", "scanner"]},
    {"pattern": "UntaggedBot"},
    {"pattern": "EmptyTagsBot", "tags": []}
  ])");
  EXPECT_EQ(list->PatternCount(), 4u);
  EXPECT_TRUE(list->Matches("Mozilla/5.0 (compatible; Googlebot/2.1)"));
  EXPECT_FALSE(list->Matches("curl/8.5.0"));
  EXPECT_FALSE(list->Matches("Mozilla/5.0 HeadlessChrome/120"));
  EXPECT_TRUE(list->Matches("python-requests/2.31"));
  EXPECT_TRUE(list->Matches("UntaggedBot/1"));
  EXPECT_TRUE(list->Matches("EmptyTagsBot/1"));
  EXPECT_FALSE(list->Matches("Mozilla/5.0 (Windows NT 10.0) Chrome/120"));
}

TEST(CrawlerList, ABadListIsRefusedNamingTheFileAndTheKey) {
  struct Case {
    const char* name;
    const char* json;
    const char* says;  // UTF-8
  };
  const Case cases[] = {
      {"not_json", "[{\"pattern\": ", "は crawler-user-agents の JSON ではありません（[Count] Bots）"},
      {"not_a_list", "{\"pattern\": \"x\"}", "JSON ではありません"},
      {"entry_without_pattern", "[{\"tags\": []}]", "JSON ではありません"},
      {"pattern_not_text", "[{\"pattern\": 3}]", "JSON ではありません"},
      {"tags_not_a_list", "[{\"pattern\": \"x\", \"tags\": \"seo\"}]", "JSON ではありません"},
      {"look_ahead", "[{\"pattern\": \"bot(?=x)\"}]", "のパターン bot(?=x) は使えません（[Count] Bots）"},
  };
  for (const Case& c : cases) {
    try {
      FromJson(c.json);
      ADD_FAILURE() << c.name;
    } catch (const Error& e) {
      const std::string message = Cp932ToUtf8(e.what());
      EXPECT_NE(message.find("list.json"), std::string::npos) << c.name << ": " << message;
      EXPECT_NE(message.find(c.says), std::string::npos) << c.name << ": " << message;
    }
  }
  // A tool's pattern is never matched, so it cannot spoil the list.
  EXPECT_NO_THROW(FromJson("[{\"pattern\": \"curl(?=/)\", \"tags\": [\"http-library\"]}]"));
  try {
    CrawlerList::Load("/nonexistent/crawler-user-agents.json");
    ADD_FAILURE();
  } catch (const Error& e) {
    EXPECT_NE(Cp932ToUtf8(e.what()).find("を読み込めません（[Count] Bots）"), std::string::npos);
  }
}

TEST(CrawlerList, TheShippedListMatchesItsOwnInstances) {
  const auto list = CrawlerList::Load(JUNMARU_CRAWLER_LIST);
  EXPECT_GT(list->PatternCount(), 1000u);
  for (const char* crawler : {"Mozilla/5.0 (compatible; Googlebot/2.1; +http://www.google.com/bot.html)",
                              "Mozilla/5.0 (compatible; bingbot/2.0; +http://www.bing.com/bingbot.htm)",
                              "Mozilla/5.0 AppleWebKit/537.36 (KHTML, like Gecko; compatible; GPTBot/1.2)",
                              "Mozilla/5.0 (compatible; AhrefsBot/7.0; +http://ahrefs.com/robot/)"})
    EXPECT_TRUE(list->Matches(crawler)) << crawler;
  for (const char* person : {"Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
                             "Chrome/120.0 Safari/537.36",
                             "Mozilla/5.0 (X11; Linux x86_64; rv:121.0) Gecko/20100101 Firefox/121.0",
                             "Wget/1.21.3", "curl/8.5.0", "GoogleBot/2.1", "Googlebot"})
    EXPECT_FALSE(list->Matches(person)) << person;
}

}  // namespace
}  // namespace junmaru
