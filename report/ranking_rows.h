#pragma once

// The rows of the ranking table: one line per place, with its rank label,
// its name (optionally a link to the file), a bar and its count.

#include <cstdint>
#include <string>
#include <vector>

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

// Competition ranking, fed the places in order: a count equal to the
// previous place's repeats its rank (counts 9, 9, 7 rank 1, 1, 3). The
// first place is 1 whatever its count.
class CompetitionRank {
 public:
  // The rank of place j (0 is first), which has count.
  long long Next(long long j, std::int64_t count) {
    if (count != last_count_) rank_ = j + 1;
    last_count_ = count;
    return rank_;
  }

 private:
  std::int64_t last_count_ = 0;
  long long rank_ = 1;
};

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
