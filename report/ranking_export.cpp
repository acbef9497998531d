#include "ranking_export.h"

#include <algorithm>

#include "ranking_rows.h"

namespace junmaru {

void ForEachShownPlace(const Ranking& ranking, const Settings& settings,
                       const std::function<void(const ShownPlace&)>& each) {
  CompetitionRank rank;
  const long long shown = std::min(static_cast<long long>(ranking.Size()), settings.TopCount);
  for (long long j = 0; j < shown; ++j) {
    const RankedEntry& entry = ranking.Place(static_cast<std::size_t>(j));
    each({rank.Next(j, entry.count), entry.path, NameShownText(entry.name, settings.NameMax), entry.count});
  }
}

}  // namespace junmaru
