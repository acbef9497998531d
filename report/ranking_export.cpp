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
    const auto place = static_cast<std::size_t>(j);
    ShownPlace shown_place{rank.Next(j, entry.count), entry.path, NameShownText(entry.name, settings.NameMax),
                           entry.count, std::nullopt, std::nullopt};
    if (settings.Trend) shown_place.previous_rank = ranking.previous_ranks.at(place);
    if (settings.Clients) shown_place.clients = ranking.clients.at(place);
    each(shown_place);
  }
}

}  // namespace junmaru
