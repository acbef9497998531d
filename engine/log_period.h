#pragma once

// Periods of the log's own time: which lines a period takes, and what
// span of time the logs cover.

#include <cstddef>
#include <optional>
#include <vector>

#include "log_lines.h"
#include "log_moment.h"

namespace junmaru {

// Line indexes (0-based), first <= last.
struct LineSpan {
  std::size_t first = 0;
  std::size_t last = 0;
};

// The earliest and the latest of some moments.
struct TimeSpan {
  LogMoment earliest = 0;
  LogMoment latest = 0;
};

// Widens span to take in m (or starts it there).
inline void Widen(std::optional<TimeSpan>& span, LogMoment m) {
  if (!span) span = TimeSpan{m, m};
  else if (m < span->earliest) span->earliest = m;
  else if (m > span->latest) span->latest = m;
}

// A period of the log's own time, both ends included.
struct TimePeriod {
  LogMoment since = 0;
  LogMoment until = kLastMoment;
};

// The lines a period takes: each line whose own time (ReadLogMoment) lies
// in it, wherever the line stands, so that lines written out of time
// order (a request is logged when it ends, logs are given in any order)
// count in the period of their own time and nowhere else. A line without
// a time is taken by no period.
struct PeriodLines {
  std::vector<LineSpan> spans;  // ascending, apart: no two touch
  std::size_t count = 0;        // lines in the spans
  std::optional<TimeSpan> times;  // of the lines taken
};

// The period of the same length that ends the second before period
// begins: what a run compares its ranking with. None when it would begin
// before the year 1.
std::optional<TimePeriod> PeriodBefore(const TimePeriod& period);

// The previous period of a run, the lines it takes, the span of time the
// logs cover, and whether they reach back over the whole of it (their
// earliest time lies at or before its start). Only what the logs hold is
// counted; nothing is guessed.
struct PreviousPeriod {
  TimePeriod period;
  PeriodLines lines;
  std::optional<TimeSpan> covered;
  bool complete = false;
};

// What a reading of the times found in a block of lines (kTimeBlockLines
// lines from a multiple of it on): enough for a later choice of lines to
// take the block whole, or pass over it, without reading it again.
inline constexpr std::size_t kTimeBlockLines = 4096;
struct TimeBlock {
  std::optional<TimeSpan> times;  // of its lines with a time, not after not_after
  std::size_t timed = 0;          // how many lines those are
};

// What the times of a log say, read in one pass.
struct LogTimes {
  // Each file's span of time, in the order the lines were loaded from
  // them (one entry for lines made from bytes); none for a file without
  // a timed line.
  std::vector<std::optional<TimeSpan>> sources;
  std::optional<TimeSpan> all;  // over every file
  // Lines stamped after not_after (a clock gone wrong, a forged stamp):
  // left out of the spans above and of every period.
  std::size_t later_lines = 0;
  // With a period: the lines it takes.
  PeriodLines period;
  // With a previous period as well: the lines it takes.
  PeriodLines previous;
  // Each block of lines, in order (those left unread have no times).
  std::vector<TimeBlock> blocks;
};

// Reads the time of every line; with a period (and a previous period),
// also chooses its lines. The lines of unread, when given, are not read at
// all: neither their times nor the periods take them.
LogTimes ReadLogTimes(const LogLines& lines, LogMoment not_after, const std::optional<TimePeriod>& period = {},
                      const std::optional<TimePeriod>& previous = {}, const std::optional<LineSpan>& unread = {});

// The lines of a period, and of a previous period, chosen once the times
// are known (times, from ReadLogTimes with this not_after and no line left
// unread), into times.period and times.previous: what ReadLogTimes with
// the periods would choose. A block of lines that all have times inside a
// period is taken whole and one whose times all lie outside both is passed
// over; only the blocks that reach over a period's end are read again, so
// on a log in time order this costs next to nothing.
void ChoosePeriodLines(const LogLines& lines, LogMoment not_after, const std::optional<TimePeriod>& period,
                       const std::optional<TimePeriod>& previous, LogTimes& times);

// For a range of lines counted by number (lines first to last, 0-based,
// inside the log): the period before the span from the time of its first
// line to that of its last (the first and the last that have a time),
// taken from the lines outside the range by their own time. Fails, with
// the system's message, when no line of the range has a time or the last
// one's time lies before the first one's.
PreviousPeriod PreviousOfRange(const LogLines& lines, std::size_t first, std::size_t last);

}  // namespace junmaru
