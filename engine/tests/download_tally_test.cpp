#include "download_tally.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace junmaru {
namespace {

using Lines = std::vector<std::string>;

TEST(DownloadTally, CountsRepeatsInOneEntry) {
  DownloadTally tally;
  tally.CountPath("/dl/a.zip");
  EXPECT_EQ(tally.CountList(), (Lines{"/dl/a.zip00001"}));
  tally.CountPath("/dl/a.zip");
  tally.CountPath("/dl/a.zip");
  EXPECT_EQ(tally.CountList(), (Lines{"/dl/a.zip00003"}));
  EXPECT_EQ(tally.SeenPaths(), (Lines{"/dl/a.zip"}));
}

TEST(DownloadTally, CaseVariantsAreOnePathWithTheLatestSpelling) {
  DownloadTally tally;
  for (const char* path : {"/dl/Tool.lzh", "/dl/tool.lzh", "/dl/TOOL.lzh"}) tally.CountPath(path);
  EXPECT_EQ(tally.CountList(), (Lines{"/dl/TOOL.lzh00003"}));
  EXPECT_EQ(tally.SeenPaths(), (Lines{"/dl/Tool.lzh"}));
}

TEST(DownloadTally, NearlyEqualPathsAreCountedApart) {
  DownloadTally tally;
  for (const char* path : {"/dl/a.zip", "/dl/a.zip.zip", "/dl/a.zip", "/dl/my-tool.lzh", "/dl/mytool.lzh",
                           "/dl/mytool.lzh", "/\x83\x63.zip", "/\x83\x43.zip"})
    tally.CountPath(path);
  // "." sorts before the digits, so the longer path's entry comes first.
  EXPECT_EQ(tally.CountList(), (Lines{"/dl/a.zip.zip00001", "/dl/a.zip00002", "/dl/my-tool.lzh00001",
                                      "/dl/mytool.lzh00002", "/\x83\x43.zip00001", "/\x83\x63.zip00001"}));
}

TEST(DownloadTally, LargeCountsStayExact) {
  DownloadTally tally;
  const std::string path = "/big.zip";
  auto count_to = [&](int target) {
    while (tally.Entries().empty() || tally.Entries()[0].count < target) tally.CountPath(path);
    return tally.CountList()[0];
  };
  EXPECT_EQ(count_to(10000), "/big.zip10000");
  EXPECT_EQ(count_to(99999), "/big.zip99999");
  EXPECT_EQ(count_to(100001), "/big.zip100001") << "no wrap at five digits";
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

}  // namespace
}  // namespace junmaru
