#include "download_tally.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace junmaru {
namespace {

using Lines = std::vector<std::string>;

// Each entry as "first spelling | latest spelling | count", in the order
// of first meeting.
Lines EntriesOf(const DownloadTally& tally) {
  Lines out;
  for (const auto& entry : tally.Entries())
    out.push_back(std::string(entry.first) + " | " + std::string(entry.latest) + " | " + std::to_string(entry.count));
  return out;
}

TEST(DownloadTally, CountsRepeatsInOneEntry) {
  DownloadTally tally;
  tally.CountPath("/dl/a.zip");
  EXPECT_EQ(EntriesOf(tally), (Lines{"/dl/a.zip | /dl/a.zip | 1"}));
  tally.CountPath("/dl/a.zip");
  tally.CountPath("/dl/a.zip");
  EXPECT_EQ(EntriesOf(tally), (Lines{"/dl/a.zip | /dl/a.zip | 3"}));
}

TEST(DownloadTally, CaseVariantsAreOnePathWithTheFirstAndTheLatestSpelling) {
  DownloadTally tally;
  for (const char* path : {"/dl/Tool.lzh", "/dl/tool.lzh", "/dl/TOOL.lzh"}) tally.CountPath(path);
  EXPECT_EQ(EntriesOf(tally), (Lines{"/dl/Tool.lzh | /dl/TOOL.lzh | 3"}));
}

TEST(DownloadTally, NearlyEqualPathsAreCountedApart) {
  DownloadTally tally;
  for (const char* path : {"/dl/a.zip", "/dl/a.zip.zip", "/dl/a.zip", "/dl/my-tool.lzh", "/dl/mytool.lzh",
                           "/dl/mytool.lzh", "/\x83\x63.zip", "/\x83\x43.zip"})
    tally.CountPath(path);
  EXPECT_EQ(EntriesOf(tally), (Lines{"/dl/a.zip | /dl/a.zip | 2", "/dl/a.zip.zip | /dl/a.zip.zip | 1",
                                     "/dl/my-tool.lzh | /dl/my-tool.lzh | 1", "/dl/mytool.lzh | /dl/mytool.lzh | 2",
                                     "/\x83\x63.zip | /\x83\x63.zip | 1", "/\x83\x43.zip | /\x83\x43.zip | 1"}));
}

TEST(DownloadTally, LargeCountsStayExact) {
  DownloadTally tally;
  const std::string path = "/big.zip";
  auto count_to = [&](int target) {
    while (tally.Entries().empty() || tally.Entries()[0].count < target) tally.CountPath(path);
    return EntriesOf(tally);
  };
  EXPECT_EQ(count_to(10000), (Lines{"/big.zip | /big.zip | 10000"}));
  EXPECT_EQ(count_to(99999), (Lines{"/big.zip | /big.zip | 99999"}));
  EXPECT_EQ(count_to(100001), (Lines{"/big.zip | /big.zip | 100001"})) << "no wrap at five digits";
}

TEST(DownloadTally, ManyDistinctPathsSurviveGrowth) {
  std::vector<std::string> paths;
  for (int i = 0; i < 5000; ++i) paths.push_back("/f" + std::to_string(i) + ".zip");
  DownloadTally tally;
  for (int round = 0; round < 3; ++round)
    for (const auto& p : paths) tally.CountPath(p);
  ASSERT_EQ(tally.Size(), paths.size());
  for (const auto& entry : tally.Entries()) EXPECT_EQ(entry.count, 3);
}

std::string Repeat(const std::string& unit, std::size_t times) {
  std::string text;
  for (std::size_t i = 0; i < times; ++i) text += unit;
  return text;
}

// A path whose key may not fit the tally's key room is matched without its
// key: spellings that compare equal are still one path.
TEST(DownloadTally, LongSpellingsOfOnePathAreOnePath) {
  // One character spelled two ways: ASCII, full-width and Greek letter
  // case, the NEC and the IBM code of one numeral.
  const std::pair<std::string, std::string> spellings[] = {
      {"a", "A"}, {"\x82\x60", "\x82\x81"}, {"\x83\x9F", "\x83\xBF"}, {"\x87\x54", "\xFA\x4A"}};
  for (const auto& [a, b] : spellings)
    for (std::size_t times : {50, 30000, 150000}) {
      SCOPED_TRACE(std::to_string(times) + " times " + b);
      const std::string first = "/" + Repeat(a, times), latest = "/" + Repeat(b, times),
                        mixed = "/" + Repeat(a + b, times / 2), other = latest + a;
      DownloadTally tally;
      for (const std::string* path : {&first, &other, &mixed, &latest}) tally.CountPath(*path);
      ASSERT_EQ(tally.Size(), 2u);
      EXPECT_EQ(tally.Entries()[0].count, 3);
      EXPECT_EQ(tally.Entries()[0].first.data(), first.data());
      EXPECT_EQ(tally.Entries()[0].latest.data(), latest.data());
    }
}

// Long paths, whose keys the tally does not hold, rank among short ones
// as their keys would.
TEST(DownloadTally, LongAndShortPathsRankInTextOrder) {
  const std::string a = Repeat("a", 30000);
  const std::vector<std::string> ascending = {
      "/dl/a", "/dl/" + Repeat("A", 30000), "/dl/" + a + "b", "/dl/" + a.substr(0, 100) + "c",
      "/dl/b", "/dl/\x82\x60" + a,        "/dl/\x82\x81z"};
  DownloadTally tally;
  for (auto it = ascending.rbegin(); it != ascending.rend(); ++it) tally.CountPath(*it);
  tally.OrderForRanking();
  // Counted again after reordering, the long path's entry is found and
  // moves to the end.
  tally.CountPath(ascending[2]);
  tally.OrderForRanking();
  std::vector<std::string> ranked;
  for (const auto& entry : tally.Entries()) ranked.emplace_back(entry.latest);
  Lines expected = ascending;
  std::rotate(expected.begin() + 2, expected.begin() + 3, expected.end());
  EXPECT_EQ(ranked, expected);
}

}  // namespace
}  // namespace junmaru
