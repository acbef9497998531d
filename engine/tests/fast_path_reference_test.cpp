// The engine's fast paths (one-pass line split, compact fold keys, the
// tally's key matching and ranking order, the filter's suffix table and
// word probe, the unchecked scan) against the plainest code that states
// the same rule, on random inputs built from the pieces that matter.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "byte_string.h"
#include "download_tally.h"
#include "error.h"
#include "line_split.h"
#include "log_fields.h"
#include "log_lines.h"
#include "log_moment.h"
#include "ranking_run.h"
#include "recording_view.h"
#include "request_filter.h"
#include "text_compare.h"

namespace junmaru {
namespace {

using Pieces = std::vector<std::string>;

// A random text of up to max_pieces pieces.
std::string RandomText(std::mt19937& rng, const Pieces& pieces, std::size_t max_pieces) {
  std::uniform_int_distribution<std::size_t> count(0, max_pieces), pick(0, pieces.size() - 1);
  std::string text;
  for (std::size_t n = count(rng); n > 0; --n) text += pieces[pick(rng)];
  return text;
}

int Sign(int v) { return (v > 0) - (v < 0); }

// --- line split --------------------------------------------------------

using Spans = std::vector<std::pair<std::size_t, std::size_t>>;

TEST(FastPathReference, OnePassSplitAgreesWithNulCutThenSplit) {
  // Long plain runs carry the breaks across the 64-byte blocks.
  const Pieces pieces = {"a", "\n", "\r", "\r\n", "\n\r", std::string(1, '\0'), "x",
                         std::string(37, 'y'), std::string(63, 'z'), "\x83\x0a"};
  std::mt19937 rng(11);
  for (int i = 0; i < 20000; ++i) {
    const std::string bytes = RandomText(rng, pieces, 24);
    Spans expected, got;
    const std::string_view text = std::string_view(bytes).substr(0, std::string_view(bytes).find('\0'));
    SplitLines(text, [&](std::size_t b, std::size_t e) { expected.emplace_back(b, e); });
    const std::size_t size = SplitLinesBeforeNul(bytes, [&](std::size_t b, std::size_t e) { got.emplace_back(b, e); });
    ASSERT_EQ(size, text.size()) << ::testing::PrintToString(bytes);
    ASSERT_EQ(got, expected) << ::testing::PrintToString(bytes);
  }
}

// --- fold keys ---------------------------------------------------------

// Case pairs, full-width letters, the NEC/IBM duplicates of one character,
// double-byte characters whose trail byte is an ASCII byte, half-width
// kana, bytes of no character, and runs long enough for the word steps.
const Pieces kTextPieces = {"a", "A", "z", "Z", "@", "[", "`", "{", "0", "9", "/", ".",
                            "\x82\x60",  // full-width A
                            "\x82\x81",  // full-width a
                            "\xED\x40", "\xFA\x5C",  // one character, two codes
                            "\x83\x40", "\x83\x5C",  // trail bytes '@' and '\'
                            "\xB1", "\x80", "\xFD", "\x81", "\xA0",
                            "abcdefgh", "ABCDEFGH", "/dl/file0001.zip", "/DL/FILE0001.ZIP"};

TEST(FastPathReference, FoldKeysOrderAndMatchAsTheComparison) {
  std::mt19937 rng(5);
  for (int i = 0; i < 100000; ++i) {
    const std::string a = RandomText(rng, kTextPieces, 8);
    const std::string b = RandomText(rng, kTextPieces, 8);
    const std::string ka = FoldText(a), kb = FoldText(b);
    ASSERT_LE(ka.size(), 3 * a.size());
    ASSERT_EQ(Sign(ka.compare(kb)), Sign(CompareText(a, b)))
        << ::testing::PrintToString(a) << " vs " << ::testing::PrintToString(b);
    std::string buffer(3 * a.size() + 1, '#');
    ASSERT_EQ(std::string(buffer.data(), FoldKey(a, buffer.data())), ka);
  }
}

// --- tally and ranking order ---------------------------------------------

struct Counted {
  std::string first, latest;
  long long count = 0;
};

struct CompareLess {
  bool operator()(const std::string& a, const std::string& b) const { return CompareText(a, b) < 0; }
};

// The tally as the rule reads: one entry per path under the comparison.
std::map<std::string, Counted, CompareLess> ReferenceTally(const std::vector<std::string>& paths) {
  std::map<std::string, Counted, CompareLess> tally;
  for (const std::string& path : paths) {
    Counted& c = tally[path];
    if (c.count == 0) c.first = path;
    c.latest = path;
    ++c.count;
  }
  return tally;
}

bool RankedBefore(long long count_a, const std::string& a, long long count_b, const std::string& b) {
  return count_a != count_b ? count_a < count_b : CompareText(a, b) < 0;
}

TEST(FastPathReference, TallyAndRankingOrderAgreeWithAComparisonMap) {
  std::mt19937 rng(3);
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> paths;
    const int n = std::uniform_int_distribution<int>(0, 400)(rng);
    for (int i = 0; i < n; ++i) paths.push_back(RandomText(rng, kTextPieces, 4));
    const auto expected = ReferenceTally(paths);

    DownloadTally tally;
    // Count half, order, count the rest: a reordered tally still finds its paths.
    const std::size_t half = paths.size() / 2;
    for (std::size_t i = 0; i < half; ++i) tally.CountPath(paths[i]);
    tally.OrderForRanking();
    for (std::size_t i = half; i < paths.size(); ++i) tally.CountPath(paths[i]);
    ASSERT_EQ(tally.Size(), expected.size());
    for (const auto& entry : tally.Entries()) {
      const auto it = expected.find(std::string(entry.latest));
      ASSERT_NE(it, expected.end());
      EXPECT_EQ(entry.first, it->second.first);
      EXPECT_EQ(entry.latest, it->second.latest);
      EXPECT_EQ(entry.count, it->second.count);
    }

    tally.OrderForRanking();
    const auto& ordered = tally.Entries();
    for (std::size_t i = 1; i < ordered.size(); ++i)
      ASSERT_TRUE(RankedBefore(ordered[i - 1].count, std::string(ordered[i - 1].latest), ordered[i].count,
                               std::string(ordered[i].latest)))
          << "entries " << i - 1 << " and " << i << " out of ranking order";
  }
}

TEST(FastPathReference, BatchesCountAsSingleCallsAcrossTableGrowth) {
  // Enough distinct paths for the table to grow several times, some batch
  // boundaries falling on a growth, repeats and case variants in one batch.
  std::mt19937 rng(17);
  std::vector<std::string> paths;
  for (int i = 0; i < 6000; ++i) {
    const int id = std::uniform_int_distribution<int>(0, 2500)(rng);
    paths.push_back((i % 7 == 0 ? "/DL/F" : "/dl/f") + std::to_string(id) + (i % 5 == 0 ? ".ZIP" : ".zip"));
  }
  DownloadTally single, batched;
  for (const std::string& path : paths) single.CountPath(path);
  const std::vector<std::string_view> views(paths.begin(), paths.end());
  for (std::size_t i = 0; i < views.size();) {
    const std::size_t n = std::min(views.size() - i, std::uniform_int_distribution<std::size_t>(0, 40)(rng));
    batched.CountPaths(views.data() + i, n);
    i += n;
  }
  ASSERT_EQ(batched.Size(), single.Size());
  for (std::size_t i = 0; i < single.Size(); ++i) {
    EXPECT_EQ(batched.Entries()[i].first, single.Entries()[i].first);
    EXPECT_EQ(batched.Entries()[i].latest, single.Entries()[i].latest);
    EXPECT_EQ(batched.Entries()[i].count, single.Entries()[i].count);
  }
  const auto expected = ReferenceTally(paths);
  EXPECT_EQ(single.Size(), expected.size());
  for (const auto& entry : single.Entries()) EXPECT_EQ(entry.count, expected.at(std::string(entry.latest)).count);
}

// --- request filter ------------------------------------------------------

// The suffixes each family drops, written out again as the rules read them,
// in their order of testing.
const std::vector<std::pair<std::string, std::vector<std::string>>> kSuffixes = {
    {"CDouga", {"avi", "mpg", "mpeg", "wmv", "ogm"}}, {"COnsei", {"mp3", "wma", "ogg", "wav", "mid"}},
    {"CJpeg", {"jpg", "jpeg"}},                       {"CGazou", {"jpg", "jpeg", "gif", "ico", "png", "dib", "bmp"}},
    {"CSyoko", {"lzh", "zip", "rar", "gca", "cab"}},  {"CText", {"txt", "log", "inf", "rtf", "ini"}},
    {"CExe", {"exe"}},                                {"CHtml", {"htm", "php", "css", "html"}},
    {"CCss", {"css"}},                                {"CCgi", {"pl", "cgi", "cgi?", "dat"}}};

// Whether the family of this key is switched on in s.
bool On(const RunSettings& s, const std::string& key) {
  for (std::size_t i = 0; i < kFamilyCount; ++i)
    if (kExtensionFamilies[i].key == key) return s.Families[i];
  ADD_FAILURE() << "no family " << key;
  return false;
}

// The drop rules read one by one.
bool ReferenceDrops(const std::string& path, const RunSettings& s) {
  if (RightBytes(path, 5).find('.') == std::string_view::npos) return true;
  if (StartsWithBytes(path, "http://") || EndsWithBytes(path, "ida") || EndsWithBytes(path, "/")) return true;
  for (const auto& [key, suffixes] : kSuffixes)
    if (On(s, key))
      for (const std::string& suffix : suffixes)
        if (EndsWithBytes(path, suffix)) return true;
  for (const std::string& word : s.KinsiWord)
    if (!word.empty() && path.find(word) != std::string::npos) return true;
  return false;
}

TEST(FastPathReference, DropsAgreeWithTheRulesReadOneByOne) {
  const Pieces path_pieces = {"/", ".", "a", "dl", "zip", "jpg", "jpeg", "peg", "cgi", "?", "pl", "l", "ida",
                              "http://", "HTTP://", "mp3", "html", "css", "dat", "beta", "\x97\xe1", "\x83\x5c",
                              " ", "  ", "Z", "x.y"};
  const Pieces words = {"beta", "a.", "\x97\xe1\x29", "\x83", "  ", "", "zip", "Z", "/dl/", "\x5c", "a.zipx"};
  std::mt19937 rng(9);
  std::bernoulli_distribution coin(0.5);
  std::uniform_int_distribution<std::size_t> pick_word(0, words.size() - 1), word_count(0, 3);
  for (int round = 0; round < 2000; ++round) {
    RunSettings settings;
    for (bool& on : settings.Families) on = coin(rng);
    for (std::size_t n = word_count(rng); n > 0; --n) settings.KinsiWord.push_back(words[pick_word(rng)]);
    const RequestFilter filter(settings);
    for (int i = 0; i < 100; ++i) {
      const std::string path = RandomText(rng, path_pieces, 6);
      ASSERT_EQ(filter.Drops(path), ReferenceDrops(path, settings)) << ::testing::PrintToString(path);
    }
  }
}

// --- the fields read by the line's quotes ----------------------------------

// The user agent read the plainest way: quote by quote from the start.
std::optional<std::string_view> ReferenceUserAgent(std::string_view line) {
  int fields = 0;
  std::optional<std::string_view> last;
  for (std::size_t open = line.find('"'); open != std::string_view::npos; open = line.find('"', open)) {
    std::size_t close = open;
    do {
      close = line.find('"', close + 1);
      if (close == std::string_view::npos) return fields >= 3 ? last : std::nullopt;
    } while ([&] {
      std::size_t backslashes = 0;
      while (close - backslashes > open + 1 && line[close - backslashes - 1] == '\\') ++backslashes;
      return backslashes % 2 == 1;
    }());
    ++fields;
    last = line.substr(open + 1, close - open - 1);
    open = close + 1;
  }
  return fields >= 3 ? last : std::nullopt;
}

TEST(FastPathReference, FieldsReadFromTheQuoteListAgreeWithTheirOwnSearches) {
  // Lines of every length around the 16- and 64-byte blocks, with more
  // quotes than the list holds in place, escapes and every marker.
  const Pieces pieces = {"\"", "\"", "\\", "\\\"", "\"GET ", "\"GET /a.zip HTTP/1.1\"", " HTTP/1.0\"", " HTTP/2\"",
                         "] \"", "[10/Oct/2004:13:55:36 +0900] \"", "[", "]", " ", "a", std::string(13, 'x'),
                         std::string(40, 'y'), "\"-\" \"Mozilla/5.0\"", " 200 1"};
  std::mt19937 rng(31);
  StampMemo memo;  // one for all the lines, as a scan keeps it
  int told = 0;
  for (int i = 0; i < 50000; ++i) {
    const std::string line = RandomText(rng, pieces, 40);
    const LineQuotes quotes(line);
    const auto show = ::testing::PrintToString(line);
    ASSERT_EQ(UserAgent(line, quotes), ReferenceUserAgent(line)) << show;
    const std::size_t first = line.find('"');
    ASSERT_EQ(MomentOfLine(line, first, memo), MomentOfLine(line)) << show;
    // Found from the quotes after the line's first two, when that can tell.
    std::optional<std::string_view> after;
    if (first != std::string::npos && line.find('"', first + 1) != std::string::npos &&
        UserAgentAfter(line, first, line.find('"', first + 1), after)) {
      ++told;
      ASSERT_EQ(after, ReferenceUserAgent(line)) << show;
    }
  }
  EXPECT_GT(told, 5000);
}

// --- the whole run -------------------------------------------------------

TEST(FastPathReference, RunRanksAsTheReferenceOverRandomLogsAndRanges) {
  const Pieces path_pieces = {"/dl/", "a", "A", "b", "\x83\x5c", "\x82\x60", "\x82\x81", ".zip", ".ZIP", ".gif"};
  std::mt19937 rng(21);
  for (int round = 0; round < 200; ++round) {
    std::vector<std::string> paths;
    std::string bytes;
    const int n = std::uniform_int_distribution<int>(1, 300)(rng);
    for (int i = 0; i < n; ++i) {
      paths.push_back(RandomText(rng, path_pieces, 3) + ".lzh");
      bytes += "h - - [01/Jan/2024:00:00:00 +0900] \"GET " + paths.back() + " HTTP/1.1\" 200 1\n";
    }
    const LogLines log = LogLines::FromBytes(bytes);
    RunSettings settings;
    settings.PStart = std::uniform_int_distribution<int>(1, n)(rng);
    settings.PEnd = std::uniform_int_distribution<int>(static_cast<int>(settings.PStart), n)(rng);
    settings.TopCount = std::uniform_int_distribution<int>(1, 20)(rng);

    const std::vector<std::string> range(paths.begin() + settings.PStart - 1, paths.begin() + settings.PEnd);
    std::vector<std::pair<long long, std::string>> expected;
    for (const auto& [key, counted] : ReferenceTally(range)) expected.emplace_back(counted.count, counted.latest);
    std::sort(expected.begin(), expected.end(),
              [](const auto& a, const auto& b) { return RankedBefore(a.first, a.second, b.first, b.second); });

    testing::RecordingView view;
    const Ranking ranking = RunRanking(log, settings, view);
    ASSERT_EQ(ranking.Size(), expected.size());
    long long top_total = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      ASSERT_EQ(ranking.entries[i].count, expected[i].first);
      ASSERT_EQ(ranking.entries[i].path, expected[i].second);
      if (expected.size() - 1 - i < static_cast<std::size_t>(settings.TopCount)) top_total += expected[i].first;
    }
    EXPECT_EQ(ranking.top_total, top_total);
  }
}

TEST(FastPathReference, RangeRunningPastTheLogFailsAtItsFirstMissingLineAfterScanningTheRest) {
  const LogLines log = LogLines::FromBytes("\"GET /a.zip HTTP/1.1\"\n\"GET /b.zip HTTP/1.1\"\n");
  RunSettings settings;
  settings.PStart = 2;
  settings.PEnd = 4;
  testing::RecordingView view;
  try {
    RunRanking(log, settings, view);
    FAIL() << "a range past the log ran";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), Sjis("リストのインデックスが範囲を超えています (2)"));
  }
  // Line 2 was scanned and its progress reported before line 3 failed.
  EXPECT_EQ(view.progress, (std::vector<long long>{0, 0}));
}

}  // namespace
}  // namespace junmaru
