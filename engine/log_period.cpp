#include "log_period.h"

namespace junmaru {

LogTimes ReadLogTimes(const LogLines& lines, LogMoment not_after, const std::optional<TimePeriod>& period) {
  LogTimes times;
  const std::vector<LoadedSource>& sources = lines.Sources();
  times.sources.resize(sources.size());
  std::size_t source = 0;
  PeriodLines& taken = times.period;
  if (lines.Empty()) return times;
  LineReader reader = lines.ReadFrom(0);
  for (std::size_t i = 0, count = lines.Count(); i < count; ++i) {
    // Each file ends a line, so a line lies in one file.
    while (source + 1 < sources.size() && reader.Position() >= sources[source + 1].text_begin) ++source;
    const std::optional<LogMoment> m = ReadLogMoment(reader.Next());
    if (!m) continue;
    if (*m > not_after) {
      ++times.later_lines;
      continue;
    }
    Widen(times.sources[source], *m);
    Widen(times.all, *m);
    if (!period || *m < period->since || *m > period->until) continue;
    if (taken.count > 0 && taken.spans.back().last + 1 == i) ++taken.spans.back().last;
    else taken.spans.push_back({i, i});
    Widen(taken.times, *m);
    ++taken.count;
  }
  return times;
}

}  // namespace junmaru
