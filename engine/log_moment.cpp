#include "log_moment.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "log_fields.h"
#include "simd_bytes.h"

namespace junmaru {
namespace {

constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The month (1 to 12) that an English abbreviation names, or 0: a line is
// read for its time in every period, so the name is matched as one number.
int MonthOf(std::string_view name) {
  auto key = [](std::string_view n) {
    return static_cast<unsigned char>(n[0]) << 16 | static_cast<unsigned char>(n[1]) << 8 | static_cast<unsigned char>(n[2]);
  };
  const int k = key(name);
  for (int m = 0; m < 12; ++m)
    if (key(kMonths[m]) == k) return m + 1;
  return 0;
}

// The number written in text[at, at + width) in decimal digits, or -1.
[[gnu::always_inline]] inline int Digits(std::string_view text, std::size_t at, std::size_t width) {
  if (at + width > text.size()) return -1;
  int value = 0;
  for (std::size_t i = at; i < at + width; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

bool IsLeapYear(long long year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(long long year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

struct Civil {
  long long year;
  int month, day;
};

// Days since 1970-01-01 and back (the proleptic Gregorian calendar).
long long DaysFromCivil(Civil c) {
  const long long y = c.month <= 2 ? c.year - 1 : c.year;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (c.month + (c.month > 2 ? -3 : 9)) + 2) / 5 + c.day - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

Civil CivilFromDays(long long z) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {yoe + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

LogMoment Join(long long year, int month, int day, int hour, int minute, int second) {
  // The date and the time apart, so that the two can be worked out at once.
  const LogMoment date = static_cast<LogMoment>(year) * 10000 + static_cast<LogMoment>(month * 100 + day);
  return date * 1000000 + static_cast<LogMoment>(hour * 10000 + minute * 100 + second);
}

// A log may write the leap second 60; a date given by the user may not.
bool TimeInRange(int hour, int minute, int second, int last_second = 59) {
  return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= last_second;
}

// Whether the quote at q follows "] ", the end of the timestamp field.
bool EndsStamp(std::string_view line, std::size_t q) { return q >= 2 && line[q - 1] == ' ' && line[q - 2] == ']'; }

// Where the timestamp field of line ends: the "]" of the first "] \"", or npos.
std::size_t StampEnd(std::string_view line) {
  std::size_t close = std::string_view::npos;
  ForEachQuote(line, [&](std::size_t q) { return EndsStamp(line, q) && (close = q - 2, true); });
  return close;
}

constexpr std::size_t kLongestField = 40;  // the "[" stands at most this far before the "]"

// The timestamp field's "[": the last one before its "]" at close, not
// far back (a stamp and its zone take 27 bytes), or npos. Every line is
// read for its time, so sixteen bytes are looked at a time.
std::size_t FieldOpen(std::string_view line, std::size_t close) {
  std::size_t end = close;                   // looked at: [end, close)
#if defined(__SSE2__)
  for (; end >= 16 && close - (end - 16) <= kLongestField; end -= 16) {
    if (const unsigned mask = Matches16(line.data() + end - 16, '['))
      return end - 16 + static_cast<std::size_t>(31 - __builtin_clz(mask));
  }
#endif
  while (end > 0 && close - (end - 1) <= kLongestField)
    if (line[--end] == '[') return end;
  return std::string_view::npos;
}

// The stamp field s holds nothing after its second but a zone, or nothing.
bool EndsAsStamp(std::string_view s) { return s.size() == 21 || (s.size() > 22 && s[21] == ' '); }

// The moment of the timestamp field that ends at close (npos: none), or
// kNoMoment. A plain number, not an optional: it is read of every line, and
// an optional comes back from a call through memory, stored and loaded in
// pieces that the processor cannot forward.
LogMoment MomentOfStamp(std::string_view line, std::size_t close, StampMemo* memo = nullptr) {
  if (close == std::string_view::npos) return kNoMoment;
  const std::size_t open = FieldOpen(line, close);
  if (open == std::string_view::npos) return kNoMoment;
  // [dd/Mon/yyyy:HH:MM:SS, then " zone" or nothing
  const std::string_view s = line.substr(open, close - open);
  if (memo) {
    if (const LogMoment moment = memo->Recall(s); moment != kNoMoment) return moment;
  }
  if (s.size() < 21 || s[3] != '/' || s[7] != '/' || s[12] != ':' || s[15] != ':' || s[18] != ':') return kNoMoment;
  if (!EndsAsStamp(s)) return kNoMoment;
  const int month = MonthOf(s.substr(4, 3));
  const int day = Digits(s, 1, 2), year = Digits(s, 8, 4);
  const int hour = Digits(s, 13, 2), minute = Digits(s, 16, 2);
  const int second = Digits(s, 19, 2);
  if (month == 0 || day < 1 || day > 31 || year < 0 || !TimeInRange(hour, minute, second, 60)) return kNoMoment;
  const LogMoment moment = Join(year, month, day, hour, minute, second);
  if (memo) memo->Keep(s, moment);
  return moment;
}

}  // namespace

LogMoment StampMemo::Recall(std::string_view s) const {
  // The remembered bytes were read as a date, hour and minute in range;
  // the rest of the field is read as the whole field would be.
  if (minute_ == kNoMoment || s.size() < 21 || std::memcmp(s.data(), begins_, kKept) != 0) return kNoMoment;
  if (s[18] != ':' || !EndsAsStamp(s)) return kNoMoment;
  const int second = Digits(s, 19, 2);
  if (second < 0 || second > 60) return kNoMoment;
  return minute_ + static_cast<LogMoment>(second);
}

void StampMemo::Keep(std::string_view s, LogMoment moment) {
  std::memcpy(begins_, s.data(), kKept);
  minute_ = moment - moment % 100;
}

LogMoment MomentOfLine(std::string_view line) { return MomentOfStamp(line, StampEnd(line)); }
LogMoment MomentOfLine(std::string_view line, StampMemo& memo) { return MomentOfStamp(line, StampEnd(line), &memo); }

LogMoment MomentOfLine(std::string_view line, std::size_t first_quote, StampMemo& memo) {
  if (first_quote != std::string_view::npos && EndsStamp(line, first_quote))
    return MomentOfStamp(line, first_quote - 2, &memo);
  return MomentOfLine(line, memo);
}

std::optional<LogMoment> ParseMoment(std::string_view text, bool as_end) {
  // YYYY-MM-DD
  if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const int year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return std::nullopt;
  if (text.size() == 10) return as_end ? Join(year, month, day, 23, 59, 59) : Join(year, month, day, 0, 0, 0);
  // " HH:MM" and perhaps ":SS"
  if ((text.size() != 16 && text.size() != 19) || text[10] != ' ' || text[13] != ':') return std::nullopt;
  const int hour = Digits(text, 11, 2), minute = Digits(text, 14, 2);
  int second = as_end ? 59 : 0;
  if (text.size() == 19) {
    if (text[16] != ':') return std::nullopt;
    second = Digits(text, 17, 2);
  }
  if (!TimeInRange(hour, minute, second)) return std::nullopt;
  return Join(year, month, day, hour, minute, second);
}

std::optional<LogMoment> StartOfDayBefore(LogMoment moment, long long days) {
  if (days < 0 || days > 4'000'000) return std::nullopt;  // beyond 10,000 years: before any log
  const LogMoment date = moment / 1000000;
  const Civil civil{static_cast<long long>(date / 10000), static_cast<int>(date / 100 % 100), static_cast<int>(date % 100)};
  const Civil earlier = CivilFromDays(DaysFromCivil(civil) - days);
  if (earlier.year < 1) return std::nullopt;
  return Join(earlier.year, earlier.month, earlier.day, 0, 0, 0);
}

LogMoment EndOfDay(LogMoment moment) { return moment / 1000000 * 1000000 + 235959; }

std::optional<LogMoment> MomentOfUnixTime(long long seconds) {
  constexpr long long kDay = 86400;
  const long long days = seconds >= 0 ? seconds / kDay : -((-seconds + kDay - 1) / kDay);
  if (days < -719162 || days > 2932896) return std::nullopt;  // 0001-01-01 to 9999-12-31
  const long long in_day = seconds - days * kDay;
  const Civil civil = CivilFromDays(days);
  return Join(civil.year, civil.month, civil.day, static_cast<int>(in_day / 3600), static_cast<int>(in_day / 60 % 60),
              static_cast<int>(in_day % 60));
}

long long UnixTimeOf(LogMoment moment) {
  const LogMoment date = moment / 1000000, time = moment % 1000000;
  const long long days = DaysFromCivil(
      {static_cast<long long>(date / 10000), static_cast<int>(date / 100 % 100), static_cast<int>(date % 100)});
  return days * 86400 + static_cast<long long>(time / 10000 * 3600 + time / 100 % 100 * 60 + time % 100);
}

std::string MomentText(LogMoment moment) {
  char text[32];
  std::snprintf(text, sizeof text, "%04llu-%02llu-%02llu %02llu:%02llu:%02llu",
                static_cast<unsigned long long>(moment / 10000000000), static_cast<unsigned long long>(moment / 100000000 % 100),
                static_cast<unsigned long long>(moment / 1000000 % 100), static_cast<unsigned long long>(moment / 10000 % 100),
                static_cast<unsigned long long>(moment / 100 % 100), static_cast<unsigned long long>(moment % 100));
  return text;
}

}  // namespace junmaru
