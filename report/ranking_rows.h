#pragma once

// The rows of the ranking table: one line per place, with its rank label,
// its name (optionally a link to the file), a bar and its count.

#include <cstdint>
#include <string>
#include <vector>

#include "competition_rank.h"
#include "page_line.h"
#include "ranking_run.h"
#include "settings.h"

namespace junmaru {

// Width in pixels of the bar of a row with `count` downloads. With several
// entries the bars of the shown rows add up to at most 600; a lone entry
// gets 600 - 450 / count. Computed wide enough that no count overflows;
// a total of 0 (no row can have one) gives width 0 instead of dividing.
std::int64_t BarWidth(std::int64_t count, std::int64_t top_total, bool single_entry);

// What is shown of a path: the path itself, or its last 2 * name_max bytes
// after the mark "(略)..." when it is longer than that. Raw bytes, not
// escaped; the tail points into path.
struct ShownName {
  bool shortened;
  std::string_view tail;
};
ShownName NameShown(std::string_view path, long long name_max);
// The same as one text: the mark, then the tail.
std::string NameShownText(std::string_view path, long long name_max);

// A place's rank change against the previous period, as the page shows
// it: "▲n" up n places, "▼n" down n places, "→" the same place, "NEW" for
// a file the previous period did not rank (previous_rank 0).
std::string RankChangeText(long long rank, std::int64_t previous_rank);

// The heading of the rank changes' column: "前回", or "前回（データ不足）"
// when the logs do not reach back over the whole previous period.
std::string RankChangeHeading(const RunSettings& settings);

// Writes the rows of one run. It carries the tie state from row to row:
// a count equal to the previous row's repeats its label (competition
// ranking: 9, 9, 7 give 1位, 1位, 3位). A new writer starts afresh, so
// nothing passes from one run to the next.
class RankingRows {
 public:
  RankingRows(const Ranking& ranking, const Settings& settings);

  // Appends the row of place j (0 is first) to lines, unless j is beyond
  // the places shown (TopCount), which appends nothing and keeps the tie
  // state. Requires 0 <= j < number of entries. The row holds the entry's
  // path as a view: the ranking's paths must outlive it.
  void Output(long long j, std::vector<PageLine>& lines);

 private:
  void AppendNameCell(const RankedEntry& entry, PageLine& row) const;

  const Ranking& ranking_;
  const Settings& settings_;
  const std::string link_prefix_;  // the prefix as it stands in the attribute
  const LinkPathEncoder link_path_;
  CompetitionRank rank_;
};

}  // namespace junmaru
