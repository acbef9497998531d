#pragma once

// Moments of the log's own wall clock, for choosing a period: the time
// written in a line's bracketed timestamp, zone ignored, as one number.

#include <cstdint>
#include <optional>
#include <string_view>

namespace junmaru {

// YYYYMMDDhhmmss as a decimal number: ordering the numbers orders the moments.
using LogMoment = std::uint64_t;

// The moment of a line's timestamp, [dd/Mon/yyyy:HH:MM:SS zone] read from
// the line's first "[": two-digit day, English month name, four-digit year
// and two-digit hour, minute and second with their separators, in range.
// None for a line without such a timestamp.
std::optional<LogMoment> ReadLogMoment(std::string_view line);

// A moment given as "YYYY-MM-DD" or "YYYY-MM-DD HH:MM[:SS]", a real date
// and time; a bare date means its first second, or its last second when
// end_of_day is set. None for any other text.
std::optional<LogMoment> ParseMoment(std::string_view text, bool end_of_day);

// The first second of the day that lies days days before moment's day.
// None when that day falls before the year 1.
std::optional<LogMoment> StartOfDayBefore(LogMoment moment, long long days);

}  // namespace junmaru
