#include "log_period.h"

#include "error.h"
#include "messages.h"

namespace junmaru {
namespace {

// Adds line i, of time m, to the lines a period takes.
void Take(PeriodLines& taken, std::size_t i, LogMoment m) {
  if (taken.count > 0 && taken.spans.back().last + 1 == i) ++taken.spans.back().last;
  else taken.spans.push_back({i, i});
  Widen(taken.times, m);
  ++taken.count;
}

bool Holds(const std::optional<TimePeriod>& period, LogMoment m) {
  return period && m >= period->since && m <= period->until;
}

}  // namespace

std::optional<TimePeriod> PeriodBefore(const TimePeriod& period) {
  const long long since = UnixTimeOf(period.since);
  const long long length = UnixTimeOf(period.until) - since + 1;
  const std::optional<LogMoment> start = MomentOfUnixTime(since - length);
  if (!start) return std::nullopt;
  return TimePeriod{*start, *MomentOfUnixTime(since - 1)};
}

LogTimes ReadLogTimes(const LogLines& lines, LogMoment not_after, const std::optional<TimePeriod>& period,
                      const std::optional<TimePeriod>& previous, const std::optional<LineSpan>& unread) {
  LogTimes times;
  const std::vector<LoadedSource>& sources = lines.Sources();
  times.sources.resize(sources.size());
  std::size_t source = 0;
  // Reads lines [begin, end).
  const auto read = [&](std::size_t begin, std::size_t end) {
    if (begin >= end) return;
    LineReader reader = lines.ReadFrom(begin);
    for (std::size_t i = begin; i < end; ++i) {
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
      if (Holds(period, *m)) Take(times.period, i, *m);
      else if (Holds(previous, *m)) Take(times.previous, i, *m);
    }
  };
  const std::size_t count = lines.Count();
  if (unread && unread->first < count) {
    read(0, unread->first);
    read(unread->last + 1, count);
  } else {
    read(0, count);
  }
  return times;
}

PreviousPeriod PreviousOfRange(const LogLines& lines, std::size_t first, std::size_t last) {
  // The range's first and last lines that have a time: a line without one
  // (a broken or empty line) at either end does not stop the comparison.
  std::optional<LogMoment> start, end;
  std::size_t i = first;
  for (; i <= last && !start; ++i) start = ReadLogMoment(lines.At(static_cast<long long>(i)));
  for (std::size_t j = last + 1; j-- > i && !end;) end = ReadLogMoment(lines.At(static_cast<long long>(j)));
  if (start && !end) end = start;  // a single line with a time
  if (!start) throw Error(messages::ErrorMark() + messages::RangeWithoutTime());
  if (*end < *start)
    throw Error(messages::ErrorMark() + messages::RangeEndsOutOfOrder(MomentText(*start), MomentText(*end)));
  PreviousPeriod previous;
  const std::optional<TimePeriod> before = PeriodBefore({*start, *end});
  if (before) {
    previous.period = *before;
    LogTimes times = ReadLogTimes(lines, kLastMoment, std::nullopt, previous.period, LineSpan{first, last});
    previous.lines = std::move(times.previous);
    previous.covered = times.all;
  } else {
    previous.period = {0, 0};  // before the year 1: no log reaches there
  }
  Widen(previous.covered, *start);
  Widen(previous.covered, *end);
  previous.complete = before && previous.covered->earliest <= previous.period.since;
  return previous;
}

}  // namespace junmaru
