#include "log_period.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>
#include <utility>

#include "error.h"
#include "line_paths.h"
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

// Adds line i, of time m, to the period or else the previous period that holds it.
void TakeByTime(LogTimes& times, const std::optional<TimePeriod>& period, const std::optional<TimePeriod>& previous,
                std::size_t i, LogMoment m) {
  if (Holds(period, m)) Take(times.period, i, m);
  else if (Holds(previous, m)) Take(times.previous, i, m);
}

// Joins what was read of a later stretch of lines to what was read of the
// stretch before it.
void Join(std::optional<TimeSpan>& span, const std::optional<TimeSpan>& later) {
  if (!later) return;
  Widen(span, later->earliest);
  Widen(span, later->latest);
}
void Join(PeriodLines& taken, const PeriodLines& later) {
  for (const LineSpan& span : later.spans) {
    if (!taken.spans.empty() && taken.spans.back().last + 1 == span.first) taken.spans.back().last = span.last;
    else taken.spans.push_back(span);
  }
  taken.count += later.count;
  Join(taken.times, later.times);
}
void Join(LogTimes& times, const LogTimes& later) {
  for (std::size_t i = 0; i < times.sources.size(); ++i) Join(times.sources[i], later.sources[i]);
  Join(times.all, later.all);
  times.later_lines += later.later_lines;
  Join(times.period, later.period);
  Join(times.previous, later.previous);
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
  const std::vector<LoadedSource>& sources = lines.Sources();
  // Each half of the log below writes the blocks of its own lines.
  std::vector<TimeBlock> blocks((lines.Count() + kTimeBlockLines - 1) / kTimeBlockLines);
  // Reads lines [begin, end) into times. The span of the lines met in one
  // file and block is kept at hand and widens the file's, the log's and
  // the block's spans when the file or the block changes.
  const auto read = [&](LogTimes& times, std::size_t begin, std::size_t end) {
    if (begin >= end) return;
    std::size_t source = 0, block = begin / kTimeBlockLines, timed = 0;
    LogMoment earliest = kLastMoment, latest = 0;
    const auto widen = [&] {
      if (timed == 0) return;
      for (std::optional<TimeSpan>* span : {&times.sources[source], &times.all, &blocks[block].times}) {
        Widen(*span, earliest);
        Widen(*span, latest);
      }
      blocks[block].timed += timed;
      timed = 0, earliest = kLastMoment, latest = 0;
    };
    LineReader reader = lines.ReadFrom(begin);
    StampMemo memo;
    for (std::size_t i = begin; i < end; ++i) {
      // Each file ends a line, so a line lies in one file.
      if (i / kTimeBlockLines != block) widen(), block = i / kTimeBlockLines;
      while (source + 1 < sources.size() && reader.Position() >= sources[source + 1].text_begin) widen(), ++source;
      const LogMoment m = MomentOfLine(reader.Next(), memo);
      if (m == kNoMoment) continue;
      if (m > not_after) {
        ++times.later_lines;
        continue;
      }
      earliest = std::min(earliest, m), latest = std::max(latest, m), ++timed;
      TakeByTime(times, period, previous, i, m);
    }
    widen();
  };
  // The lines to read, in order: all but the unread ones.
  const std::size_t count = lines.Count();
  std::vector<std::pair<std::size_t, std::size_t>> stretches;  // [begin, end)
  if (unread && unread->first < count) {
    stretches = {{0, unread->first}, {std::min(unread->last + 1, count), count}};
  } else {
    stretches = {{0, count}};
  }
  const auto read_stretches = [&](LogTimes& times, std::size_t from, std::size_t to) {
    times.sources.resize(sources.size());
    for (const auto& [begin, end] : stretches) read(times, std::max(begin, from), std::min(end, to));
  };
  // A long log is read in two halves at once, the later half on a
  // second thread; what each half found is then joined in line order.
  LogTimes times, later;
  std::size_t half = count;
  std::exception_ptr later_failed;
  std::thread second;
  if (count >= LinePathsOptions().lines_for_thread && line_batches::SecondProcessor()) {
    half = count / 2 / kTimeBlockLines * kTimeBlockLines;  // no block is shared
    try {
      second = std::thread([&] {
        try {
          read_stretches(later, half, count);
        } catch (...) {
          later_failed = std::current_exception();
        }
      });
    } catch (const std::system_error&) {
      half = count;  // no second thread to be had: one reads it all
    }
  }
  struct JoinAtEnd {
    std::thread& thread;
    ~JoinAtEnd() {
      if (thread.joinable()) thread.join();
    }
  } join{second};
  read_stretches(times, 0, half);
  if (second.joinable()) {
    second.join();
    if (later_failed) std::rethrow_exception(later_failed);
    Join(times, later);
  }
  times.blocks = std::move(blocks);
  return times;
}

void ChoosePeriodLines(const LogLines& lines, LogMoment not_after, const std::optional<TimePeriod>& period,
                       const std::optional<TimePeriod>& previous, LogTimes& times) {
  times.period = {}, times.previous = {};
  // Whether a block's times all lie in a period, or none of them.
  const auto inside = [](const TimeSpan& t, const std::optional<TimePeriod>& p) {
    return p && t.earliest >= p->since && t.latest <= p->until;
  };
  const auto outside = [](const TimeSpan& t, const std::optional<TimePeriod>& p) {
    return !p || t.latest < p->since || t.earliest > p->until;
  };
  const auto take_block = [](PeriodLines& taken, std::size_t first, std::size_t last, const TimeSpan& t) {
    Join(taken, PeriodLines{{{first, last}}, last - first + 1, t});
  };
  const std::size_t count = lines.Count();
  for (std::size_t b = 0; b < times.blocks.size(); ++b) {
    const TimeBlock& block = times.blocks[b];
    if (!block.times) continue;
    const std::size_t first = b * kTimeBlockLines, last = std::min(first + kTimeBlockLines, count) - 1;
    const TimeSpan& t = *block.times;
    const bool whole = block.timed == last - first + 1;  // every line has a time, none after not_after
    if (outside(t, period) && outside(t, previous)) continue;
    if (whole && inside(t, period)) {
      take_block(times.period, first, last, t);
      continue;
    }
    if (whole && outside(t, period) && inside(t, previous)) {
      take_block(times.previous, first, last, t);
      continue;
    }
    LineReader reader = lines.ReadFrom(first);
    StampMemo memo;
    for (std::size_t i = first; i <= last; ++i) {
      const LogMoment m = MomentOfLine(reader.Next(), memo);
      if (m != kNoMoment && m <= not_after) TakeByTime(times, period, previous, i, m);
    }
  }
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
