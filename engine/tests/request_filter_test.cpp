#include "request_filter.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <random>
#include <string>

#include "family_index.h"

namespace junmaru {
namespace {

using testing::FamilyIndex;

std::string Line(const std::string& request) {
  return "192.0.2.1 - - [10/Oct/2004:13:55:36 +0900] \"" + request + "\" 200 1234 \"-\" \"Mozilla/5.0\"";
}

struct CutCase {
  const char* name;
  std::string line;
  std::optional<std::string> path;  // nothing: the line is no download
};

TEST(RequestFilter, CutsThePathOutOfDownloadLines) {
  const CutCase cases[] = {
      {"plain_get", Line("GET /dl/tool.lzh HTTP/1.1"), "/dl/tool.lzh"},
      {"http_1_0", Line("GET /dl/tool.lzh HTTP/1.0"), "/dl/tool.lzh"},
      {"two_spaces_after_get", Line("GET  /dl/tool.lzh HTTP/1.1"), " /dl/tool.lzh"},
      {"two_spaces_before_marker", Line("GET /dl/tool.lzh  HTTP/1.1"), "/dl/tool.lzh "},
      {"head_request", Line("HEAD /dl/tool.lzh HTTP/1.1"), std::nullopt},
      {"post_request", Line("POST /dl/tool.lzh HTTP/1.1"), std::nullopt},
      {"lower_case_method", Line("get /dl/tool.lzh HTTP/1.1"), std::nullopt},
      {"http_2", Line("GET /dl/tool.lzh HTTP/2.0"), std::nullopt},
      {"no_quote_after_protocol", "\"GET /dl/tool.lzh HTTP/1.1 200", std::nullopt},
      {"no_marker", "garbage", std::nullopt},
      {"empty_line", "", std::nullopt},
      {"http_1_1_later_wins_over_1_0",
       "\"GET /a.zip HTTP/1.0\" 200 1 \"-\" \"agent HTTP/1.1\"",
       "/a.zip HTTP/1.0\" 200 1 \"-\" \"agent"},
      {"marker_before_get_gives_empty_path", "HTTP/1.1\" \"GET /a.zip", ""},
      {"get_right_before_marker_gives_empty_path", "\"GET HTTP/1.1\"", ""},
  };
  for (const auto& c : cases) {
    auto path = RequestFilter::DownloadPath(c.line);
    ASSERT_EQ(path.has_value(), c.path.has_value()) << c.name;
    if (path) {
      EXPECT_EQ(*path, *c.path) << c.name;
    }
  }
}

struct DropCase {
  const char* name;
  const char* path;
  std::function<void(RunSettings&)> settings;
  bool counted;
};

void Defaults(RunSettings&) {}
void AllOff(RunSettings& s) {
  s.Families.fill(false);
}

TEST(RequestFilter, DropsByBuiltInRulesCategoriesAndWords) {
  const DropCase cases[] = {
      {"archive_counted", "/dl/tool.lzh", Defaults, true},
      {"archive_dropped_by_CSyoko", "/dl/tool.lzh", [](RunSettings& s) { s.Families[FamilyIndex("CSyoko")] = true; }, false},
      {"root", "/", Defaults, false},
      {"directory", "/dir/", Defaults, false},
      {"short_path_with_dot", "/a.b", Defaults, true},
      {"query_string", "/dl/file.zip?x=1", Defaults, false},
      {"cgi_with_empty_query_dropped_by_CCgi", "/cgi/x.cgi?", Defaults, false},
      {"cgi_with_empty_query_counted_without_CCgi", "/cgi/x.cgi?", [](RunSettings& s) { s.Families[FamilyIndex("CCgi")] = false; }, true},
      {"absolute_address", "http://example.com/a.zip", Defaults, false},
      {"absolute_address_upper_case_is_not_rule_2", "HTTP://example.com/a.zip", Defaults, true},
      {"ida_always_dropped", "/default.ida", AllOff, false},
      {"dot_then_slash", "/a.b/", AllOff, false},
      {"extension_too_long", "/dl/file.longext", AllOff, false},
      {"dot_as_fifth_last_byte", "/dl/file.gzip", AllOff, true},
      {"upper_case_zip_not_CSyoko", "/A.ZIP", [](RunSettings& s) { s.Families[FamilyIndex("CSyoko")] = true; }, true},
      {"upper_case_jpg_not_dropped", "/photo.JPG", Defaults, true},
      {"jpg_by_default", "/p.jpg", Defaults, false},
      {"jpg_only_when_both_off", "/p.jpg", [](RunSettings& s) { s.Families[FamilyIndex("CGazou")] = false; }, true},
      {"jpeg_by_CJpeg", "/p.jpeg", [](RunSettings& s) { s.Families[FamilyIndex("CGazou")] = false; s.Families[FamilyIndex("CJpeg")] = true; }, false},
      {"gif", "/p.gif", Defaults, false},
      {"txt", "/r.txt", Defaults, false},
      {"exe", "/s.exe", Defaults, false},
      {"html", "/i.html", Defaults, false},
      {"css_by_CHtml", "/s.css", [](RunSettings& s) { s.Families[FamilyIndex("CCss")] = false; }, false},
      {"css_only_when_both_off", "/s.css", [](RunSettings& s) { s.Families[FamilyIndex("CCss")] = false; s.Families[FamilyIndex("CHtml")] = false; }, true},
      {"cgi", "/c.cgi", Defaults, false},
      {"pl_is_two_bytes", "/x.tpl", Defaults, false},
      {"dat_is_a_byte_ending", "/x.xdat", Defaults, false},
      {"zip", "/a.zip", Defaults, true},
      {"mp3", "/a.mp3", Defaults, true},
      {"avi", "/a.avi", Defaults, true},
      {"tar_never_dropped_by_a_switch", "/a.tar", [](RunSettings& s) { s.Families[FamilyIndex("CSyoko")] = true; }, true},
      {"7z_never_dropped_by_a_switch", "/a.7z", [](RunSettings& s) { s.Families[FamilyIndex("CSyoko")] = true; }, true},
      {"mpeg_by_CDouga", "/m.mpeg", [](RunSettings& s) { s.Families[FamilyIndex("CDouga")] = true; }, false},
      {"mid_by_COnsei", "/m.mid", [](RunSettings& s) { s.Families[FamilyIndex("COnsei")] = true; }, false},
      {"word_in_folder", "/dl/beta/tool.zip", [](RunSettings& s) { s.KinsiWord = {"beta"}; }, false},
      {"word_in_name", "/dl/tool-beta.zip", [](RunSettings& s) { s.KinsiWord = {"beta"}; }, false},
      {"word_is_case_sensitive", "/dl/BETA.zip", [](RunSettings& s) { s.KinsiWord = {"beta"}; }, true},
      {"spaces_word", "/dl/a  b.zip", [](RunSettings& s) { s.KinsiWord = {"  "}; }, false},
      {"spaces_word_not_in_path", "/dl/a b.zip", [](RunSettings& s) { s.KinsiWord = {"  "}; }, true},
      {"empty_word_drops_nothing", "/dl/a.zip", [](RunSettings& s) { s.KinsiWord = {""}; }, true},
      {"later_word", "/dl/a.zip", [](RunSettings& s) { s.KinsiWord = {"x", "a."}; }, false},
  };
  for (const auto& c : cases) {
    RunSettings settings;
    c.settings(settings);
    EXPECT_EQ(!RequestFilter(settings).Drops(c.path), c.counted) << c.name;
  }
}

// The rule as it reads: first GET marker, first HTTP/1.1 marker, else the
// first HTTP/1.0 marker, then the cut.
std::optional<std::string> ReferencePath(const std::string& line) {
  std::size_t e = line.find("HTTP/1.1\"");
  if (e == std::string::npos) e = line.find("HTTP/1.0\"");
  std::size_t g = line.find("\"GET");
  if (e == std::string::npos || g == std::string::npos) return std::nullopt;
  long long length = static_cast<long long>(e) - static_cast<long long>(g) - 6;
  return length <= 0 ? std::string() : line.substr(g + 5, static_cast<std::size_t>(length));
}

TEST(RequestFilter, MarkerSearchAgreesWithTheRuleOnRandomLines) {
  const std::vector<std::string> pieces = {"\"GET", "HTTP/1.1\"", "HTTP/1.0\"", "\"", " ", "/a.zip", "HTTP/1.1",
                                           "GET", "\"GE", "T", "HTTP/1.", "1\"", "0\"", "x", "\"\""};
  std::mt19937 rng(7);
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1), length(0, 9);
  for (int i = 0; i < 200000; ++i) {
    std::string line;
    for (std::size_t n = length(rng); n > 0; --n) line += pieces[pick(rng)];
    auto path = RequestFilter::DownloadPath(line);
    auto expected = ReferencePath(line);
    ASSERT_EQ(path.has_value(), expected.has_value()) << line;
    if (path) {
      ASSERT_EQ(std::string(*path), *expected) << line;
    }
  }
}

TEST(RequestFilter, WordsSearchOnlyThePathNotTheRestOfTheLine) {
  RunSettings settings;
  settings.KinsiWord = {"Mozilla"};
  const std::string line = Line("GET /dl/tool.zip HTTP/1.1");
  const std::optional<std::string_view> path = RequestFilter::DownloadPath(line);
  ASSERT_TRUE(path);
  EXPECT_EQ(*path, "/dl/tool.zip");
  EXPECT_FALSE(RequestFilter(settings).Drops(*path));
}

}  // namespace
}  // namespace junmaru
