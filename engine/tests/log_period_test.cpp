// Periods of the log's own time: reading stamps, dates given by the user,
// and the lines a period takes.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "log_lines.h"
#include "log_moment.h"
#include "log_period.h"

namespace junmaru {
namespace {

TEST(LogMoment, ReadsTheBracketedTimestamp) {
  struct Case {
    const char* name;
    std::string line;
    std::optional<LogMoment> moment;
  };
  for (const Case& c : std::vector<Case>{
           {"Common", "1.2.3.4 - - [10/Oct/2004:13:55:36 +0900] \"GET / HTTP/1.1\"", 20041010135536},
           {"ZoneIgnored", "[01/Jan/2005:00:00:00 -1200]", 20050101000000},
           {"NoZone", "[31/Dec/2005:23:59:59", 20051231235959},
           {"LeapSecond", "[30/Jun/2012:23:59:60 +0000]", 20120630235960},
           {"NoBracket", "10/Oct/2004:13:55:36", std::nullopt},
           {"Empty", "", std::nullopt},
           {"CutShort", "[10/Oct/2004:13:55:3", std::nullopt},
           {"OneDigitDay", "[1/Oct/2004:13:55:36 +0900]", std::nullopt},
           {"LowerCaseMonth", "[10/oct/2004:13:55:36 +0900]", std::nullopt},
           {"BracketBeforeTheStamp", "1.2.3.4 - [user] [10/Oct/2004:13:55:36 +0900]", std::nullopt},
           {"HourPastTheDay", "[10/Oct/2004:24:00:00 +0900]", std::nullopt},
           {"DayZero", "[00/Oct/2004:13:55:36 +0900]", std::nullopt},
           {"OtherSeparators", "[10-Oct-2004 13:55:36 +0900]", std::nullopt},
       })
    EXPECT_EQ(ReadLogMoment(c.line), c.moment) << c.name;
}

TEST(LogMoment, DatesGivenByTheUser) {
  struct Case {
    const char* text;
    std::optional<LogMoment> since, until;  // the same text as start and as end
  };
  for (const Case& c : std::vector<Case>{
           {"2024-10-01", 20241001000000, 20241001235959},
           {"2024-10-31 10:00", 20241031100000, 20241031100000},
           {"2024-10-31 10:00:05", 20241031100005, 20241031100005},
           {"2024-02-29", 20240229000000, 20240229235959},
           {"2000-02-29 23:59:59", 20000229235959, 20000229235959},
           {"1900-02-29", std::nullopt, std::nullopt},
           {"2023-02-29", std::nullopt, std::nullopt},
           {"2024-04-31", std::nullopt, std::nullopt},
           {"2024-13-01", std::nullopt, std::nullopt},
           {"2024-00-10", std::nullopt, std::nullopt},
           {"0000-01-01", std::nullopt, std::nullopt},
           {"2024-1-01", std::nullopt, std::nullopt},
           {"2024/10/01", std::nullopt, std::nullopt},
           {"2024-10-01T10:00", std::nullopt, std::nullopt},
           {"2024-10-01 ", std::nullopt, std::nullopt},
           {"2024-10-01 24:00", std::nullopt, std::nullopt},
           {"2024-10-01 10:60", std::nullopt, std::nullopt},
           {"2024-10-01 10:00:60", std::nullopt, std::nullopt},
           {"2024-10-01 10:00:", std::nullopt, std::nullopt},
           {"2024-10-01 1:00", std::nullopt, std::nullopt},
           {"2024-10-01x", std::nullopt, std::nullopt},
           {"", std::nullopt, std::nullopt},
       }) {
    EXPECT_EQ(ParseMoment(c.text, false), c.since) << c.text;
    EXPECT_EQ(ParseMoment(c.text, true), c.until) << c.text;
  }
}

TEST(LogMoment, StartOfAnEarlierDay) {
  struct Case {
    LogMoment moment;
    long long days;
    std::optional<LogMoment> start;
  };
  for (const Case& c : std::vector<Case>{
           {20241031235959, 0, 20241031000000},
           {20241031120000, 29, 20241002000000},
           {20240105000000, 10, 20231226000000},
           {20240301000000, 1, 20240229000000},
           {20230301000000, 1, 20230228000000},
           {20000301000000, 366, 19990301000000},
           {10001231000000, 364, 10000101000000},
           {10101000000, 0, 10101000000},
           {10101000000, 1, std::nullopt},
           {20241031000000, 1LL << 60, std::nullopt},
       })
    EXPECT_EQ(StartOfDayBefore(c.moment, c.days), c.start) << c.moment << " " << c.days;
}

// A log from stamps written as "dd/Mon/yyyy:HH:MM:SS"; "-" is a line without one.
LogLines LogOf(const std::vector<std::string>& stamps) {
  std::string text;
  for (const std::string& s : stamps)
    text += s == "-" ? std::string("garbage line\n") : "192.0.2.1 - - [" + s + " +0900] \"GET /a.zip HTTP/1.1\" 200 1\n";
  return LogLines::FromBytes(text);
}

TEST(LogPeriod, TakesTheLinesFromTheFirstAtOrAfterTheStartToTheLastAtOrBeforeTheEnd) {
  struct Case {
    const char* name;
    std::vector<std::string> stamps;
    const char* since;  // nullptr: left out
    const char* until;
    std::optional<std::pair<std::size_t, std::size_t>> span;
  };
  const std::vector<std::string> seconds = {"01/Oct/2024:10:00:00", "01/Oct/2024:10:00:01", "01/Oct/2024:10:00:02"};
  const std::vector<std::string> days = {"30/Sep/2024:23:59:59", "01/Oct/2024:00:00:00", "15/Oct/2024:12:00:00",
                                         "31/Oct/2024:23:59:59", "01/Nov/2024:00:00:00"};
  for (const Case& c : std::vector<Case>{
           {"ExactSecond", seconds, "2024-10-01 10:00:01", "2024-10-01 10:00:01", {{1, 1}}},
           {"MinuteMeansItsFirstSecond", seconds, "2024-10-01 10:00", "2024-10-01 10:00", {{0, 0}}},
           {"BareDatesTakeWholeDays", days, "2024-10-01", "2024-10-31", {{1, 3}}},
           {"OnlyTheStart", days, "2024-10-15", nullptr, {{2, 4}}},
           {"OnlyTheEnd", days, nullptr, "2024-10-01", {{0, 1}}},
           {"NeitherBound", days, nullptr, nullptr, {{0, 4}}},
           {"WholeLogInside", days, "2024-01-01", "2024-12-31", {{0, 4}}},
           {"PeriodBeforeTheLog", days, "2024-09-01", "2024-09-29", std::nullopt},
           {"PeriodAfterTheLog", days, "2024-11-02", "2024-11-30", std::nullopt},
           {"StartAfterTheLog", days, "2024-11-02", nullptr, std::nullopt},
           {"EndBeforeTheLog", days, nullptr, "2024-09-29", std::nullopt},
           {"PeriodBetweenLines", days, "2024-10-02", "2024-10-14", std::nullopt},
           {"StartAfterEnd", days, "2024-10-31", "2024-10-01", std::nullopt},
           {"UnstampedLinesAtTheEdgesAreNeitherStartNorEnd",
            {"-", "01/Oct/2024:00:00:00", "-", "02/Oct/2024:00:00:00", "-"}, "2024-10-01", "2024-10-02", {{1, 3}}},
           {"UnstampedEdgesStayWithoutBounds", {"-", "01/Oct/2024:00:00:00", "-"}, nullptr, nullptr, {{0, 2}}},
           {"NoStampAtAll", {"-", "-"}, "2024-10-01", nullptr, std::nullopt},
           {"EmptyLog", {}, nullptr, nullptr, std::nullopt},
           // Written when each request ended: the order wavers by seconds.
           {"NearlySorted",
            {"01/Oct/2024:09:59:58", "01/Oct/2024:10:00:05", "01/Oct/2024:09:59:59", "01/Oct/2024:10:00:01",
             "01/Oct/2024:10:00:00", "01/Oct/2024:10:00:09", "01/Oct/2024:10:00:03"},
            "2024-10-01 10:00:00", "2024-10-01 10:00:02", {{1, 4}}},
           {"NearlySortedAcrossMidnight",
            {"30/Sep/2024:23:59:58", "01/Oct/2024:00:00:01", "30/Sep/2024:23:59:59", "01/Oct/2024:00:00:02"},
            nullptr, "2024-09-30", {{0, 2}}},
       }) {
    auto moment = [](const char* text, bool end) {
      return text ? ParseMoment(text, end) : std::optional<LogMoment>();
    };
    const std::optional<LineSpan> span = FindPeriod(LogOf(c.stamps), moment(c.since, false), moment(c.until, true));
    ASSERT_EQ(span.has_value(), c.span.has_value()) << c.name;
    if (span) {
      EXPECT_EQ(std::make_pair(span->first, span->last), *c.span) << c.name;
    }
  }
}

TEST(LogPeriod, LastMomentIsTheLastReadableStamp) {
  EXPECT_EQ(LastMoment(LogOf({"01/Oct/2024:10:00:00", "02/Oct/2024:11:00:00", "-", "-"})), 20241002110000u);
  EXPECT_EQ(LastMoment(LogOf({"-"})), std::nullopt);
  EXPECT_EQ(LastMoment(LogOf({})), std::nullopt);
}

}  // namespace
}  // namespace junmaru
