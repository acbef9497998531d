#pragma once

// The lines of a period of the log's own time.

#include <cstddef>
#include <optional>

#include "log_lines.h"
#include "log_moment.h"

namespace junmaru {

// Line indexes (0-based), first <= last.
struct LineSpan {
  std::size_t first = 0;
  std::size_t last = 0;
};

// From the first line stamped at or after since to the last line stamped at
// or before until, by line order, so that a log written nearly in time order
// (a line is written when its request ends) is cut exactly where its lines
// say. Lines without a readable timestamp are neither start nor end. A
// bound left out means the log's first or last line. None when no line
// falls in the period.
std::optional<LineSpan> FindPeriod(const LogLines& lines, std::optional<LogMoment> since,
                                   std::optional<LogMoment> until);

// The moment of the last line that has a readable timestamp; none when no
// line has one.
std::optional<LogMoment> LastMoment(const LogLines& lines);

}  // namespace junmaru
