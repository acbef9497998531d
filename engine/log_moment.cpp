#include "log_moment.h"

#include <array>
#include <cstring>

namespace junmaru {
namespace {

constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The number written in text[at, at + width) in decimal digits, or -1.
int Digits(std::string_view text, std::size_t at, std::size_t width) {
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
  return ((((static_cast<LogMoment>(year) * 100 + month) * 100 + day) * 100 + hour) * 100 + minute) * 100 + second;
}

// A log may write the leap second 60; a date given by the user may not.
bool TimeInRange(int hour, int minute, int second, int last_second = 59) {
  return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= last_second;
}

}  // namespace

std::optional<LogMoment> ReadLogMoment(std::string_view line) {
  const void* bracket = std::memchr(line.data(), '[', line.size());
  if (!bracket) return std::nullopt;
  const std::string_view s = line.substr(static_cast<std::size_t>(static_cast<const char*>(bracket) - line.data()));
  // [dd/Mon/yyyy:HH:MM:SS
  if (s.size() < 21 || s[3] != '/' || s[7] != '/' || s[12] != ':' || s[15] != ':' || s[18] != ':') return std::nullopt;
  int month = 0;
  while (month < 12 && s.substr(4, 3) != kMonths[month]) ++month;
  const int day = Digits(s, 1, 2), year = Digits(s, 8, 4);
  const int hour = Digits(s, 13, 2), minute = Digits(s, 16, 2);
  const int second = Digits(s, 19, 2);
  if (month == 12 || day < 1 || day > 31 || year < 0 || !TimeInRange(hour, minute, second, 60)) return std::nullopt;
  return Join(year, month + 1, day, hour, minute, second);
}

std::optional<LogMoment> ParseMoment(std::string_view text, bool end_of_day) {
  // YYYY-MM-DD
  if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const int year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return std::nullopt;
  if (text.size() == 10)
    return end_of_day ? Join(year, month, day, 23, 59, 59) : Join(year, month, day, 0, 0, 0);
  // " HH:MM" and perhaps ":SS"
  if ((text.size() != 16 && text.size() != 19) || text[10] != ' ' || text[13] != ':') return std::nullopt;
  const int hour = Digits(text, 11, 2), minute = Digits(text, 14, 2);
  int second = 0;
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

}  // namespace junmaru
