#include "log_period.h"

#include <algorithm>
#include <utility>

namespace junmaru {
namespace {

struct Stamped {
  std::size_t line;
  LogMoment moment;
};

// The last line of [begin, end) whose readable stamp passes test. Lines are
// read forwards only, so the search steps back a group of lines at a time
// and reads each group forwards; groups double, so a bound far from the end
// costs about one read of the lines up to it.
template <class Test>
std::optional<Stamped> LastStamped(const LogLines& lines, std::size_t begin, std::size_t end, Test test) {
  std::size_t group = 64;
  while (end > begin) {
    const std::size_t from = end - std::min(end - begin, group);
    LineReader reader = lines.ReadFrom(from);
    std::optional<Stamped> found;
    for (std::size_t i = from; i < end; ++i) {
      const std::optional<LogMoment> m = ReadLogMoment(reader.Next());
      if (m && test(*m)) found = Stamped{i, *m};
    }
    if (found) return found;
    end = from;
    group = std::min<std::size_t>(group * 2, std::size_t{1} << 16);
  }
  return std::nullopt;
}

}  // namespace

std::optional<LineSpan> FindPeriod(const LogLines& lines, std::optional<LogMoment> since,
                                   std::optional<LogMoment> until) {
  const std::size_t count = lines.Count();
  if (count == 0) return std::nullopt;
  // Each bound is met by reading from its own end of the log, so a period
  // near either end reads only the lines up to it.
  std::size_t first = 0;
  if (since) {
    LineReader reader = lines.ReadFrom(0);
    for (; first < count; ++first) {
      const std::optional<LogMoment> m = ReadLogMoment(reader.Next());
      if (m && *m >= *since) break;
    }
    if (first == count) return std::nullopt;
  }
  std::size_t last = count - 1;
  if (until) {
    const std::optional<Stamped> end = LastStamped(lines, first, count, [&](LogMoment m) { return m <= *until; });
    if (!end) return std::nullopt;
    last = end->line;
  }
  return LineSpan{first, last};
}

std::optional<LogMoment> LastMoment(const LogLines& lines) {
  const std::optional<Stamped> last = LastStamped(lines, 0, lines.Count(), [](LogMoment) { return true; });
  if (!last) return std::nullopt;
  return last->moment;
}

}  // namespace junmaru
