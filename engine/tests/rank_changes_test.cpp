// Where the places shown stood in the previous period's whole ranking.

#include "rank_changes.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace junmaru {
namespace {

using Counts = std::vector<std::pair<std::string, int>>;

// A tally of the downloads, in ranking order.
DownloadTally Tallied(const Counts& counts) {
  DownloadTally tally;
  for (const auto& [path, count] : counts)
    for (int i = 0; i < count; ++i) tally.CountPath(path);
  tally.OrderForRanking();
  return tally;
}

TEST(PreviousRanksTest, CompetitionRanksOfThePreviousWholeRanking) {
  struct Case {
    const char* name;
    Counts now, before;
    std::size_t shown;
    std::vector<std::int64_t> ranks;  // place by place, best first
  };
  const std::string long_path = "/" + std::string(70000, 'x') + ".zip";  // no key of its own in the tally
  for (const Case& c : std::vector<Case>{
           {"SwappedPlaces", {{"/a", 5}, {"/b", 3}}, {{"/a", 1}, {"/b", 4}}, 10, {2, 1}},
           {"NewFile", {{"/a", 5}, {"/new", 3}}, {{"/a", 1}}, 10, {1, 0}},
           {"EmptyPreviousPeriod", {{"/a", 5}}, {}, 10, {0}},
           {"TiesBeforeShareTheRank", {{"/a", 5}, {"/b", 3}, {"/c", 1}}, {{"/x", 9}, {"/a", 4}, {"/b", 4}, {"/c", 1}}, 10,
            {2, 2, 4}},
           // A file ranked far below the places shown still has its rank.
           {"RankBeyondThePlacesShown", {{"/a", 5}}, {{"/x", 9}, {"/y", 8}, {"/z", 7}, {"/a", 1}}, 1, {4}},
           {"OnlyThePlacesShown", {{"/a", 5}, {"/b", 3}, {"/c", 1}}, {{"/c", 2}}, 2, {0, 0}},
           {"LetterCaseIsOneFile", {{"/Dl/A.ZIP", 5}}, {{"/x", 9}, {"/dl/a.zip", 3}}, 10, {2}},
           {"WidthIsNotLetterCase", {{"/ＡＢ", 5}}, {{"/AB", 3}}, 10, {0}},
           {"LongPathsMatchAsWell", {{long_path, 5}, {"/a", 1}}, {{"/a", 4}, {long_path, 2}}, 10, {2, 1}},
       })
    EXPECT_EQ(PreviousRanks(Tallied(c.now), c.shown, Tallied(c.before)), c.ranks) << c.name;
}

}  // namespace
}  // namespace junmaru
