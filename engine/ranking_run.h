#pragma once

// The ranking run: scan the chosen lines, tally the downloads, turn the
// tally into ranking order and total the top places. The report step
// follows it and reads the Ranking it returns.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "byte_arena.h"
#include "log_lines.h"
#include "run_settings.h"
#include "run_view.h"

namespace junmaru {

// A ranked entry: a count and the path as written in its latest download
// (under the Decode rule without its query string), and the name the page
// shows for it: the path, or under Decode its decoded text. The path points
// into the LogLines the run scanned.
struct RankedEntry {
  RankedEntry(std::int64_t count_, std::string_view path_) : count(count_), path(path_), name(path_) {}
  RankedEntry(std::int64_t count_, std::string_view path_, std::string_view name_)
      : count(count_), path(path_), name(name_) {}

  std::int64_t count;
  std::string_view path;
  std::string_view name;
};

struct Ranking {
  // Ascending by count, then by path under CompareText; the best place is last.
  std::vector<RankedEntry> entries;
  // Sum of the counts of the first min(TopCount, n) places.
  std::int64_t top_total = 0;
  // While the AnyHttp rule is off: the lines it would have counted that
  // today's rule leaves out (GET over HTTP/2 and the like), as the other
  // rules would count them, OncePerClient aside. 0 while it is on.
  std::int64_t other_http_lines = 0;
  // The decoded names of the entries (Decode), which live as long as it.
  std::shared_ptr<ByteArena> names;
  // With the rank changes (RunSettings::Trend), for each place shown, the
  // first place first: its competition rank in the previous period's whole
  // ranking, 0 where the previous period did not count it.
  std::vector<std::int64_t> previous_ranks;
  // With the downloaders (RunSettings::Clients), for each place shown: the
  // number of distinct clients that downloaded it.
  std::vector<std::int64_t> clients;

  std::size_t Size() const { return entries.size(); }
  // Place j (0 is first) is the entry j from the end.
  const RankedEntry& Place(std::size_t j) const { return entries[entries.size() - 1 - j]; }
};

// Runs the scan and the ranking step, reporting status and progress to
// view (gauge 0 to 950). Fails with the list index error when the range
// leaves the log, and with the changed-log message when a mapped log was
// cut short under the scan; nothing is reported after that point.
Ranking RunRanking(const LogLines& lines, const RunSettings& settings, RunView& view);

}  // namespace junmaru
