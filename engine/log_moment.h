#pragma once

// Moments of the log's own wall clock, for choosing a period: the time
// written in a line's timestamp field, zone ignored, as one number.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace junmaru {

// YYYYMMDDhhmmss as a decimal number: ordering the numbers orders the moments.
using LogMoment = std::uint64_t;
inline constexpr LogMoment kLastMoment = 99991231235960;

// The moment of a line's timestamp field, [dd/Mon/yyyy:HH:MM:SS zone]: the
// bracketed field that ends just before the space and the double quote
// that open the request field (`] "GET ...`), found at the first "] \""
// of the line. Servers escape every double quote of the fields before the
// timestamp (the user name a client sends, for one), so no text a client
// chooses can stand in for the server's own stamp there. The field holds a
// two-digit day, an English month name, a four-digit year and two-digit
// hour, minute and second with their separators, in range, then a zone or
// nothing. kNoMoment for a line without such a field (no moment is 0): a
// plain number, as every line is read for it; ReadLogMoment gives none.
inline constexpr LogMoment kNoMoment = 0;
LogMoment MomentOfLine(std::string_view line);

// The date, hour and minute of the last timestamp read, kept by a reader
// of many lines: a log's lines come second by second, so most of them
// repeat those of the line before, which are then compared, not read again.
class StampMemo {
 public:
  // The moment of the stamp s ("[dd/Mon/yyyy:HH:MM:SS" and what follows)
  // when it begins as the remembered one did; kNoMoment when it does not.
  LogMoment Recall(std::string_view s) const;
  // Remembers a stamp read as moment.
  void Keep(std::string_view s, LogMoment moment);

 private:
  static constexpr std::size_t kKept = 18;  // "[dd/Mon/yyyy:HH:MM"
  char begins_[kKept] = {};
  LogMoment minute_ = kNoMoment;  // its moment at second 0
};
// MomentOfLine, reading with memo.
LogMoment MomentOfLine(std::string_view line, StampMemo& memo);
inline std::optional<LogMoment> ReadLogMoment(std::string_view line) {
  const LogMoment m = MomentOfLine(line);
  return m != kNoMoment ? std::optional(m) : std::nullopt;
}
// MomentOfLine of a line whose first double quote is at first_quote (npos:
// none), reading with memo: the timestamp nearly always ends just before it.
LogMoment MomentOfLine(std::string_view line, std::size_t first_quote, StampMemo& memo);

// A moment given as "YYYY-MM-DD" or "YYYY-MM-DD HH:MM[:SS]", a real date
// and time. As the start of a period a bare date means its first second
// and HH:MM its second 00; as the end (as_end), a bare date means its last
// second and HH:MM its second 59, so that the end takes in the whole day
// or minute it names. None for any other text.
std::optional<LogMoment> ParseMoment(std::string_view text, bool as_end);

// The first second of the day that lies days days before moment's day.
// None when that day falls before the year 1.
std::optional<LogMoment> StartOfDayBefore(LogMoment moment, long long days);

// The last second of moment's day.
LogMoment EndOfDay(LogMoment moment);

// The wall-clock moment seconds after 1970-01-01 00:00:00 (a time_t read
// as UTC). None before the year 1 or after 9999.
std::optional<LogMoment> MomentOfUnixTime(long long seconds);

// The seconds from 1970-01-01 00:00:00 to moment (its inverse).
long long UnixTimeOf(LogMoment moment);

// "YYYY-MM-DD HH:MM:SS", as the options take a moment.
std::string MomentText(LogMoment moment);

}  // namespace junmaru
