#include "rank_changes.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "competition_rank.h"
#include "text_compare.h"

namespace junmaru {
namespace {

// The entry's fold key: the one the tally holds, or, for a path too long
// for the tally to hold its key, the path folded.
std::string KeyOf(const DownloadTally::Entry& entry) {
  return entry.key.empty() ? FoldText(entry.first) : std::string(entry.key);
}

}  // namespace

std::vector<std::int64_t> PreviousRanks(const DownloadTally& current, std::size_t shown,
                                        const DownloadTally& previous) {
  const std::vector<DownloadTally::Entry>& now = current.Entries();
  shown = std::min(shown, now.size());
  std::unordered_map<std::string, std::size_t> place_of;
  for (std::size_t j = 0; j < shown; ++j) place_of.emplace(KeyOf(now[now.size() - 1 - j]), j);

  std::vector<std::int64_t> ranks(shown, 0);
  const std::vector<DownloadTally::Entry>& before = previous.Entries();
  CompetitionRank rank;
  std::size_t found = 0;
  for (std::size_t j = 0; j < before.size() && found < shown; ++j) {
    const DownloadTally::Entry& entry = before[before.size() - 1 - j];
    const long long its_rank = rank.Next(static_cast<long long>(j), entry.count);
    if (const auto place = place_of.find(KeyOf(entry)); place != place_of.end()) {
      ranks[place->second] = its_rank;
      ++found;
    }
  }
  return ranks;
}

}  // namespace junmaru
