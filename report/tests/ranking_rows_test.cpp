#include "ranking_rows.h"

#include <gtest/gtest.h>

#include <climits>

#include "cp932.h"

namespace junmaru {
namespace {

struct WidthCase {
  const char* name;
  std::int64_t count, top_total;
  bool single;
  std::int64_t width;
};

class BarWidthTest : public ::testing::TestWithParam<WidthCase> {};

TEST_P(BarWidthTest, Width) {
  const WidthCase& c = GetParam();
  EXPECT_EQ(BarWidth(c.count, c.top_total, c.single), c.width);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BarWidthTest,
    ::testing::Values(WidthCase{"Share12Of20", 12, 20, false, 360}, WidthCase{"Share8Of20", 8, 20, false, 240},
                      WidthCase{"TooSmallForOnePixel", 1, 601, false, 0},
                      WidthCase{"SingleCount1", 1, 1, true, 150}, WidthCase{"SingleCount2", 2, 2, true, 375},
                      WidthCase{"SingleCount10", 10, 10, true, 555},
                      WidthCase{"SingleBeyondFiveDigits", 100000, 100000, true, 599},
                      WidthCase{"BeyondFiveDigitsShare", 150000, 200000, false, 450},
                      // 1e17 * 600 does not fit in 64 bits.
                      WidthCase{"ProductBeyond64Bits", 100000000000000000LL, 200000000000000000LL, false, 300},
                      WidthCase{"ZeroTotalDoesNotDivide", 0, 0, false, 0},
                      WidthCase{"ZeroTotalSingleDoesNotDivide", 5, 0, true, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct NameCase {
  const char* name;
  std::string path;
  long long name_max;
  std::string shown;
};

class ShownNameTest : public ::testing::TestWithParam<NameCase> {};

// The name cell of the row of a lone entry, without a link.
std::string NameCell(const std::string& path, long long name_max) {
  Ranking ranking;
  ranking.entries.push_back({1, path});
  ranking.top_total = 1;
  Settings settings;
  settings.Link = false;
  settings.NameMax = name_max;
  RankingRows rows(ranking, settings);
  std::vector<PageLine> lines;
  rows.Output(0, lines);
  const std::string row = lines.at(0).Bytes();
  const std::size_t begin = row.find("</td><td>") + 9;
  return row.substr(begin, row.find("</td>", begin) - begin);
}

TEST_P(ShownNameTest, Name) {
  const NameCase& c = GetParam();
  EXPECT_EQ(NameCell(c.path, c.name_max), c.shown);
}

const std::string k80 = "/" + std::string(75, 'a') + ".zip";  // 80 bytes
const std::string k81 = "/b" + std::string(75, 'a') + ".zip";  // 81 bytes

INSTANTIATE_TEST_SUITE_P(
    Table, ShownNameTest,
    ::testing::Values(NameCase{"Exactly80Whole", k80, 40, k80},
                      NameCase{"Of81LosesFirstByteGainsMark", k81, 40, Sjis("(略)...") + k81.substr(1)},
                      NameCase{"ShortPath", "/a.zip", 10, "/a.zip"},
                      // The cut counts bytes: it may leave the trail byte of 表 (0x95 0x5C) alone.
                      NameCase{"CutSplitsDoubleByte", "/\x95\x5C" "b.zip", 3, Sjis("(略)...") + "\x5C" "b.zip"}),
    [](const auto& info) { return std::string(info.param.name); });

// A ranking from counts in place order (best first); the paths are /fN.zip.
struct RankingFixture {
  explicit RankingFixture(const std::vector<std::int64_t>& counts_best_first, long long prank = 100) {
    settings.TopCount = prank;
    settings.Link = false;
    for (std::size_t i = 0; i < counts_best_first.size(); ++i)
      paths.push_back("/f" + std::to_string(i + 1) + ".zip");
    for (std::size_t i = counts_best_first.size(); i-- > 0;)
      ranking.entries.push_back({counts_best_first[i], paths[i]});
    for (std::size_t j = 0; j < ranking.Size() && static_cast<long long>(j) < prank; ++j)
      ranking.top_total += ranking.Place(j).count;
  }
  std::vector<std::string> Rows() {
    RankingRows rows(ranking, settings);
    std::vector<PageLine> lines;
    for (std::size_t j = 0; j < ranking.Size(); ++j) rows.Output(static_cast<long long>(j), lines);
    std::vector<std::string> out;
    for (const PageLine& line : lines) out.push_back(line.Bytes());
    return out;
  }
  std::vector<std::string> paths;
  Ranking ranking;
  Settings settings;
};

// The rank label of a row: what stands in its first cell.
std::string Label(const std::string& row) {
  const std::size_t begin = row.find("<td>") + 4;
  return Cp932ToUtf8(row.substr(begin, row.find("</td>") - begin));
}

TEST(RankingRowsTest, TiesRepeatTheLabelCompetitionStyle) {
  RankingFixture f({9, 9, 7, 7, 7, 4});
  std::vector<std::string> labels;
  for (const std::string& row : f.Rows()) labels.push_back(Label(row));
  EXPECT_EQ(labels, (std::vector<std::string>{"1位", "1位", "3位", "3位", "3位", "6位"}));
}

TEST(RankingRowsTest, RankCutWritesOnlyTheFirstPlacesBestFirst) {
  std::vector<std::int64_t> counts;
  for (int i = 25; i >= 1; --i) counts.push_back(i);
  RankingFixture f(counts, 10);
  std::vector<std::string> rows = f.Rows();
  ASSERT_EQ(rows.size(), 10u);
  EXPECT_NE(rows.front().find(">/f1.zip<"), std::string::npos);
  EXPECT_NE(rows.back().find(">/f10.zip<"), std::string::npos);
  EXPECT_EQ(Label(rows.back()), "10位");
}

TEST(RankingRowsTest, FewerEntriesThanPlacesWritesEveryEntry) {
  RankingFixture f({5, 3, 2, 1}, 10);
  EXPECT_EQ(f.Rows().size(), 4u);
}

TEST(RankingRowsTest, RowWithLinkIsByteExact) {
  RankingFixture f({12, 8});
  f.settings.Link = true;
  f.settings.Prefix = "./";
  std::vector<std::string> rows = f.Rows();
  EXPECT_EQ(Cp932ToUtf8(rows[0]),
            "<tr><td>1位</td><td><a href=\"./f1.zip\">/f1.zip</a></td><td><img src=\"gage.gif\" "
            "alt=\"DLゲージ\" width=\"360\" height=\"10\"></td><td>12</td></tr>");
  EXPECT_EQ(Cp932ToUtf8(rows[1]),
            "<tr><td>2位</td><td><a href=\"./f2.zip\">/f2.zip</a></td><td><img src=\"gage.gif\" "
            "alt=\"DLゲージ\" width=\"240\" height=\"10\"></td><td>8</td></tr>");
}

// The rank change stands after the rank; competition ranks on both sides:
// a tie now, or before, is one rank.
TEST(RankingRowsTest, RankChangesAndDownloaders) {
  struct Case {
    const char* name;
    std::vector<std::int64_t> counts;    // best first
    std::vector<std::int64_t> previous;  // previous rank of each place, 0: none
    std::vector<std::string> changes;
  };
  for (const Case& c : std::vector<Case>{
           {"Climbers", {9, 8, 7}, {3, 5, 1}, {"▲2", "▲3", "▼2"}},
           {"SamePlace", {9, 8}, {1, 2}, {"→", "→"}},
           {"NewEntries", {9, 8}, {0, 1}, {"NEW", "▼1"}},
           {"TiedNowShareTheRank", {9, 9, 7}, {2, 3, 3}, {"▲1", "▲2", "→"}},
           {"TiedBeforeShareTheRank", {9, 8, 7}, {2, 2, 1}, {"▲1", "→", "▼2"}},
           {"FarClimber", {9, 5}, {1, 10000}, {"→", "▲9998"}},
       }) {
    RankingFixture f(c.counts);
    f.settings.Trend = true;
    f.settings.Clients = true;
    f.ranking.previous_ranks = c.previous;
    for (std::size_t j = 0; j < c.counts.size(); ++j) f.ranking.clients.push_back(static_cast<std::int64_t>(j + 1));
    const std::vector<std::string> rows = f.Rows();
    ASSERT_EQ(rows.size(), c.changes.size()) << c.name;
    for (std::size_t j = 0; j < rows.size(); ++j) {
      const std::string row = Cp932ToUtf8(rows[j]);
      const std::string change = row.substr(row.find("</td><td>") + 9);
      EXPECT_EQ(change.substr(0, change.find("</td>")), c.changes[j]) << c.name << " place " << j;
      EXPECT_NE(row.find("</td><td>" + std::to_string(c.counts[j]) + "</td><td>" + std::to_string(j + 1) +
                         "</td></tr>"),
                std::string::npos)
          << c.name << " place " << j;
    }
  }
}

TEST(RankingRowsTest, RowWithBothColumnsIsByteExact) {
  RankingFixture f({12, 8});
  f.settings.Trend = true;
  f.settings.Clients = true;
  f.ranking.previous_ranks = {2, 0};
  f.ranking.clients = {7, 8};
  EXPECT_EQ(Cp932ToUtf8(f.Rows()[0]),
            "<tr><td>1位</td><td>▲1</td><td>/f1.zip</td><td><img src=\"gage.gif\" alt=\"DLゲージ\" width=\"360\" "
            "height=\"10\"></td><td>12</td><td>7</td></tr>");
}

TEST(RankingRowsTest, RowWithoutLinkShowsTheBareName) {
  RankingFixture f({12, 8});
  f.settings.Link = false;
  EXPECT_EQ(Cp932ToUtf8(f.Rows()[0]),
            "<tr><td>1位</td><td>/f1.zip</td><td><img src=\"gage.gif\" alt=\"DLゲージ\" width=\"360\" "
            "height=\"10\"></td><td>12</td></tr>");
}

TEST(RankingRowsTest, SingleEntryWidths) {
  for (auto [count, width] : {std::pair<std::int64_t, std::string>{1, "150"}, {10, "555"}}) {
    RankingFixture f({count});
    EXPECT_NE(f.Rows()[0].find("width=\"" + width + "\""), std::string::npos) << count;
  }
}

TEST(RankingRowsTest, LinkTargetKeepsTheWholePathWhileTheTextIsShortened) {
  const std::string path = "/" + std::string(20, 'd') + "/x.zip";  // 27 bytes
  Ranking ranking;
  ranking.entries.push_back({3, path});
  ranking.top_total = 3;
  Settings settings;
  settings.NameMax = 5;
  settings.Link = true;
  settings.Prefix = "http://example.jp/";
  RankingRows rows(ranking, settings);
  std::vector<PageLine> lines;
  rows.Output(0, lines);
  const std::vector<std::string> out = {lines.at(0).Bytes()};
  EXPECT_NE(out[0].find("<a href=\"http://example.jp/" + path.substr(1) + "\">" + Sjis("(略)...") + "dddd/x.zip</a>"),
            std::string::npos);
}

TEST(RankingRowsTest, HostilePathAndPrefixAreEscapedInTheTarget) {
  const std::string path = "/\"><script>alert('x')</script>&.zip";
  Ranking ranking;
  ranking.entries.push_back({1, path});
  ranking.top_total = 1;
  Settings settings;
  settings.Link = true;
  settings.Prefix = "<pre>";  // typed by the keeper: written as typed, but escaped
  RankingRows rows(ranking, settings);
  std::vector<PageLine> lines;
  rows.Output(0, lines);
  const std::vector<std::string> out = {lines.at(0).Bytes()};
  const std::string escaped = "&quot;&gt;&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;&amp;.zip";
  EXPECT_NE(out[0].find("<a href=\"&lt;pre&gt;" + escaped + "\">/" + escaped + "</a>"), std::string::npos) << out[0];
  EXPECT_EQ(out[0].find("<script>"), std::string::npos);
}

TEST(RankingRowsTest, ShorteningCountsRawBytesBeforeEscaping) {
  // 10 raw bytes fit NameMax 5 although the escaped text is longer.
  const std::string path = "/a&b&c.zip";
  Ranking ranking;
  ranking.entries.push_back({1, path});
  ranking.top_total = 1;
  Settings settings;
  settings.Link = false;
  settings.NameMax = 5;
  RankingRows rows(ranking, settings);
  std::vector<PageLine> lines;
  rows.Output(0, lines);
  const std::vector<std::string> out = {lines.at(0).Bytes()};
  EXPECT_NE(out[0].find("<td>/a&amp;b&amp;c.zip</td>"), std::string::npos) << out[0];
}

TEST(RankingRowsTest, CountsBeyondFiveDigitsShowTheirTrueValue) {
  RankingFixture f({250000, 100000, 100000});
  std::vector<std::string> rows = f.Rows();
  EXPECT_NE(rows[0].find("width=\"333\" height=\"10\"></td><td>250000</td>"), std::string::npos) << rows[0];
  EXPECT_NE(rows[1].find("width=\"133\" height=\"10\"></td><td>100000</td>"), std::string::npos) << rows[1];
  EXPECT_EQ(Label(rows[2]), "2位");
}

}  // namespace
}  // namespace junmaru
