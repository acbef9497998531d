// Periods of the log's own time: reading stamps, dates given by the user,
// and the lines a period takes.

#include <gtest/gtest.h>

#include <cstdio>

#include <optional>
#include <string>
#include <vector>

#include "log_lines.h"
#include "log_moment.h"
#include "log_period.h"
#include "log_source.h"
#include "code_page.h"
#include "error.h"

namespace junmaru {
namespace {

TEST(LogMoment, ReadsTheTimestampFieldBeforeTheRequest) {
  struct Case {
    const char* name;
    std::string line;
    std::optional<LogMoment> moment;
  };
  const std::string request = " \"GET /dl/a.zip HTTP/1.1\" 200 1";
  for (const Case& c : std::vector<Case>{
           {"Common", "1.2.3.4 - - [10/Oct/2004:13:55:36 +0900]" + request, 20041010135536},
           {"ZoneIgnored", "[01/Jan/2005:00:00:00 -1200]" + request, 20050101000000},
           {"NoZone", "[31/Dec/2005:23:59:59]" + request, 20051231235959},
           {"LeapSecond", "[30/Jun/2012:23:59:60 +0000]" + request, 20120630235960},
           // A client's user name (Authorization: Basic) stands before the
           // stamp: a stamp written there is not the line's time.
           {"ForgedStampInTheUserField",
            "1.2.3.4 - [01/Jan/2099:00:00:00 +0000]:x [10/Oct/2004:13:55:36 +0900]" + request, 20041010135536},
           {"ForgedStampAndEscapedQuote",
            "1.2.3.4 - [01/Jan/2099:00:00:00 +0000] \\\"x [10/Oct/2004:13:55:36 +0900]" + request, 20041010135536},
           {"BracketedUser", "1.2.3.4 - [user] [10/Oct/2004:13:55:36 +0900]" + request, 20041010135536},
           {"QuoteInTheRequestAfterABracket", "[10/Oct/2004:13:55:36 +0900] \"GET /[x] \"y HTTP/1.1\"", 20041010135536},
           {"NoRequestField", "1.2.3.4 - - [10/Oct/2004:13:55:36 +0900]", std::nullopt},
           {"NoSpaceBeforeTheQuote", "[10/Oct/2004:13:55:36 +0900]\"GET / HTTP/1.1\"", std::nullopt},
           {"NoBracket", "10/Oct/2004:13:55:36" + request, std::nullopt},
           {"Empty", "", std::nullopt},
           {"OnlyTheOpening", "] \"", std::nullopt},
           {"CutShort", "[10/Oct/2004:13:55:3]" + request, std::nullopt},
           {"OneDigitDay", "[1/Oct/2004:13:55:36 +0900]" + request, std::nullopt},
           {"LowerCaseMonth", "[10/oct/2004:13:55:36 +0900]" + request, std::nullopt},
           {"HourPastTheDay", "[10/Oct/2004:24:00:00 +0900]" + request, std::nullopt},
           {"DayZero", "[00/Oct/2004:13:55:36 +0900]" + request, std::nullopt},
           {"OtherSeparators", "[10-Oct-2004 13:55:36 +0900]" + request, std::nullopt},
           {"NoSpaceBeforeTheZone", "[10/Oct/2004:13:55:36+0900]" + request, std::nullopt},
           {"FieldTooLong", "[10/Oct/2004:13:55:36 " + std::string(30, '0') + "]" + request, std::nullopt},
           // The "[" is looked for at most 40 bytes before the "]".
           {"LongestField", "1.2.3.4 - - [10/Oct/2004:13:55:36 " + std::string(18, '0') + "]" + request, 20041010135536},
           {"OneByteLonger", "1.2.3.4 - - [10/Oct/2004:13:55:36 " + std::string(19, '0') + "]" + request, std::nullopt},
           {"NearestBracketWins", "[10/Oct/2004:13:55:36 +09[00]" + request, std::nullopt},
           // What follows the minute is read afresh on every line.
           {"SecondPastTheLeap", "[10/Oct/2004:13:55:61 +0900]" + request, std::nullopt},
           {"SecondNotDigits", "[10/Oct/2004:13:55:3x +0900]" + request, std::nullopt},
           {"NoColonBeforeTheSecond", "[10/Oct/2004:13:55-36 +0900]" + request, std::nullopt},
           {"SpaceWithoutAZone", "[10/Oct/2004:13:55:36 ]" + request, std::nullopt},
           {"SameMinuteWithoutAZone", "[10/Oct/2004:13:55:59]" + request, 20041010135559},
       })
  {
    EXPECT_EQ(ReadLogMoment(c.line), c.moment) << c.name;
    // Read after a line of the same minute, as a reader of many lines does.
    StampMemo memo;
    ASSERT_EQ(MomentOfLine("[10/Oct/2004:13:55:00 +0900]" + request, memo), 20041010135500u);
    EXPECT_EQ(MomentOfLine(c.line, memo), c.moment.value_or(kNoMoment)) << c.name;
  }
}

TEST(LogMoment, DatesGivenByTheUser) {
  struct Case {
    const char* text;
    std::optional<LogMoment> since, until;  // the same text as start and as end
  };
  for (const Case& c : std::vector<Case>{
           {"2024-10-01", 20241001000000, 20241001235959},
           {"2024-10-31 10:00", 20241031100000, 20241031100059},  // the end takes in its minute
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

TEST(LogMoment, UnixTimeAndText) {
  struct Case {
    long long seconds;
    LogMoment moment;
    const char* text;
  };
  for (const Case& c : std::vector<Case>{
           {0, 19700101000000, "1970-01-01 00:00:00"},
           {951782400 + 86399, 20000229235959, "2000-02-29 23:59:59"},
           {1727740800, 20241001000000, "2024-10-01 00:00:00"},
           {-1, 19691231235959, "1969-12-31 23:59:59"},
       }) {
    EXPECT_EQ(MomentOfUnixTime(c.seconds), c.moment) << c.seconds;
    EXPECT_EQ(UnixTimeOf(c.moment), c.seconds) << c.moment;
    EXPECT_EQ(MomentText(c.moment), c.text);
  }
  EXPECT_EQ(MomentOfUnixTime(253402300800), std::nullopt);  // the year 10000
  EXPECT_EQ(EndOfDay(20241031101112), 20241031235959u);
}

// A log from stamps written as "dd/Mon/yyyy:HH:MM:SS"; "-" is a line without one.
std::string LogText(const std::vector<std::string>& stamps) {
  std::string text;
  for (const std::string& s : stamps)
    text += s == "-" ? std::string("garbage line\n") : "192.0.2.1 - - [" + s + " +0900] \"GET /a.zip HTTP/1.1\" 200 1\n";
  return text;
}

// Several logs read as one, from bytes.
LogLines JoinedLog(const std::vector<std::vector<std::string>>& logs) {
  std::vector<LogInput> sources;
  for (std::size_t i = 0; i < logs.size(); ++i)
    sources.push_back(LogInput{"log" + std::to_string(i), FileBytes(LogText(logs[i]))});
  LogLines lines;
  lines.LoadFromInputs(std::move(sources));
  return lines;
}

using Spans = std::vector<std::pair<std::size_t, std::size_t>>;

TEST(LogPeriod, TakesEveryLineWhoseOwnTimeLiesInThePeriod) {
  struct Case {
    const char* name;
    std::vector<std::vector<std::string>> logs;
    const char* since;  // nullptr: left out
    const char* until;
    Spans spans;
    std::optional<std::pair<LogMoment, LogMoment>> times;
  };
  const std::vector<std::string> seconds = {"01/Oct/2024:10:00:00", "01/Oct/2024:10:00:01", "01/Oct/2024:10:00:02"};
  const std::vector<std::string> days = {"30/Sep/2024:23:59:59", "01/Oct/2024:00:00:00", "15/Oct/2024:12:00:00",
                                         "31/Oct/2024:23:59:59", "01/Nov/2024:00:00:00"};
  const std::vector<std::string> october = {days[1], days[2], days[3]};
  const std::vector<std::string> november = {days[4], "02/Nov/2024:00:00:00"};
  for (const Case& c : std::vector<Case>{
           {"ExactSecond", {seconds}, "2024-10-01 10:00:01", "2024-10-01 10:00:01", {{1, 1}},
            {{20241001100001, 20241001100001}}},
           {"AMinuteAsTheEndTakesItsSeconds", {seconds}, "2024-10-01 10:00", "2024-10-01 10:00", {{0, 2}},
            {{20241001100000, 20241001100002}}},
           {"BareDatesTakeWholeDays", {days}, "2024-10-01", "2024-10-31", {{1, 3}}, {{20241001000000, 20241031235959}}},
           {"OnlyTheStart", {days}, "2024-10-15", nullptr, {{2, 4}}, {{20241015120000, 20241101000000}}},
           {"OnlyTheEnd", {days}, nullptr, "2024-10-01", {{0, 1}}, {{20240930235959, 20241001000000}}},
           {"PeriodBetweenLines", {days}, "2024-10-02", "2024-10-14", {}, std::nullopt},
           {"StartAfterEnd", {days}, "2024-10-31", "2024-10-01", {}, std::nullopt},
           {"UnstampedLinesAreNeverTaken", {{"-", "01/Oct/2024:00:00:00", "-", "02/Oct/2024:00:00:00", "-"}},
            "2024-10-01", "2024-10-02", {{1, 1}, {3, 3}}, {{20241001000000, 20241002000000}}},
           {"EmptyLog", {{}}, nullptr, nullptr, {}, std::nullopt},
           // Written when each request ended: the order wavers by seconds
           // at the period's edges, and each line counts by its own time.
           {"NearlySorted",
            {{"01/Oct/2024:09:59:58", "01/Oct/2024:10:00:05", "01/Oct/2024:09:59:59", "01/Oct/2024:10:00:01",
              "01/Oct/2024:10:00:00", "01/Oct/2024:10:00:09", "01/Oct/2024:10:00:03"}},
            "2024-10-01 10:00:00", "2024-10-01 10:00:02", {{3, 4}}, {{20241001100000, 20241001100001}}},
           {"NearlySortedAcrossMidnight",
            {{"30/Sep/2024:23:59:58", "01/Oct/2024:00:00:01", "30/Sep/2024:23:59:59", "01/Oct/2024:00:00:02"}},
            nullptr, "2024-09-30", {{0, 0}, {2, 2}}, {{20240930235958, 20240930235959}}},
           // Logs given newest first: the lines are found all the same.
           {"NewestFirst", {november, october, {days[0]}}, "2024-10-01", "2024-10-31", {{2, 4}},
            {{20241001000000, 20241031235959}}},
           {"NewestFirstAcrossTheEdge", {november, october, {days[0]}}, "2024-10-15", "2024-11-01", {{0, 0}, {3, 4}},
            {{20241015120000, 20241101235959 - 235959}}},
       }) {
    auto moment = [](const char* text, bool end) { return text ? ParseMoment(text, end) : std::optional<LogMoment>(); };
    const TimePeriod period{moment(c.since, false).value_or(0), moment(c.until, true).value_or(kLastMoment)};
    const PeriodLines taken = ReadLogTimes(JoinedLog(c.logs), kLastMoment, period).period;
    Spans spans;
    std::size_t count = 0;
    for (const LineSpan& s : taken.spans) {
      spans.emplace_back(s.first, s.last);
      count += s.last - s.first + 1;
    }
    EXPECT_EQ(spans, c.spans) << c.name;
    EXPECT_EQ(taken.count, count) << c.name;
    ASSERT_EQ(taken.times.has_value(), c.times.has_value()) << c.name;
    if (taken.times) {
      EXPECT_EQ(std::make_pair(taken.times->earliest, taken.times->latest), *c.times) << c.name;
    }
  }
}

TEST(LogPeriod, EachLogsSpanAndLinesAfterTheClock) {
  const LogLines lines = JoinedLog({{"02/Oct/2024:10:00:00", "-", "01/Oct/2024:09:00:00"},
                                    {"-"},
                                    {"03/Oct/2024:00:00:00", "01/Jan/2099:00:00:00", "04/Oct/2024:00:00:00"}});
  const LogTimes times = ReadLogTimes(lines, 20241231000000);
  ASSERT_EQ(times.sources.size(), 3u);
  ASSERT_TRUE(times.sources[0] && times.sources[2] && times.all);
  EXPECT_EQ(times.sources[0]->earliest, 20241001090000u);
  EXPECT_EQ(times.sources[0]->latest, 20241002100000u);
  EXPECT_FALSE(times.sources[1]);
  EXPECT_EQ(times.sources[2]->latest, 20241004000000u) << "the line after the clock is left out";
  EXPECT_EQ(times.all->earliest, 20241001090000u);
  EXPECT_EQ(times.all->latest, 20241004000000u);
  EXPECT_EQ(times.later_lines, 1u);
  EXPECT_EQ(times.period.count, 0u) << "no period asked";
}

// A log long enough to be read in two halves at once: what the halves find
// joins into what one pass over the lines would find, across the files
// and the line range left unread, with spans running over the middle.
TEST(LogPeriod, ALongLogReadInTwoHalvesGivesWhatOnePassGives) {
  const std::size_t kLines = 300000;
  // Line i: second i % 7200 of 01 Oct (wavering order), every 97th unstamped,
  // every 1000th after the clock.
  auto stamp = [](std::size_t i) -> std::optional<LogMoment> {
    if (i % 1000 == 1) return 20991231000000;
    if (i % 97 == 0) return std::nullopt;
    const std::size_t second = (i * 7 + i / 5000) % 7200;
    return 20241001000000 + second / 3600 * 10000 + second / 60 % 60 * 100 + second % 60;
  };
  std::vector<std::vector<std::string>> logs(3);
  for (std::size_t i = 0; i < kLines; ++i) {
    char text[32] = "-";
    if (const std::optional<LogMoment> m = stamp(i); m && i % 1000 != 1)
      std::snprintf(text, sizeof text, "%02d/Oct/%04d:%02d:%02d:%02d", int(*m / 1000000 % 100), int(*m / 10000000000),
                    int(*m / 10000 % 100), int(*m / 100 % 100), int(*m % 100));
    logs[i < 100000 ? 0 : i < 200000 ? 1 : 2].push_back(i % 1000 == 1 ? "31/Dec/2099:00:00:00" : text);
  }
  const TimePeriod period{20241001013000, 20241001015959}, previous{20241001010000, 20241001012959};
  const LineSpan unread{40000, 60000};
  const LogTimes times = ReadLogTimes(JoinedLog(logs), 20241231000000, period, previous, unread);

  LogTimes expected;
  expected.sources.resize(3);
  for (std::size_t i = 0; i < kLines; ++i) {
    const std::optional<LogMoment> m = stamp(i);
    if ((i >= unread.first && i <= unread.last) || !m) continue;
    if (*m > 20241231000000) {
      ++expected.later_lines;
      continue;
    }
    Widen(expected.sources[i / 100000], *m);
    Widen(expected.all, *m);
    for (auto [lines, span] : {std::pair{&expected.period, period}, std::pair{&expected.previous, previous}}) {
      if (*m < span.since || *m > span.until) continue;
      if (lines->count > 0 && lines->spans.back().last + 1 == i) ++lines->spans.back().last;
      else lines->spans.push_back({i, i});
      Widen(lines->times, *m);
      ++lines->count;
    }
  }
  auto same_spans = [](const std::optional<TimeSpan>& a, const std::optional<TimeSpan>& b) {
    return a.has_value() == b.has_value() && (!a || (a->earliest == b->earliest && a->latest == b->latest));
  };
  for (std::size_t f = 0; f < 3; ++f) EXPECT_TRUE(same_spans(times.sources[f], expected.sources[f])) << "file " << f;
  EXPECT_TRUE(same_spans(times.all, expected.all));
  EXPECT_EQ(times.later_lines, expected.later_lines);
  for (auto [got, want] : {std::pair{&times.period, &expected.period}, std::pair{&times.previous, &expected.previous}}) {
    EXPECT_EQ(got->count, want->count);
    EXPECT_TRUE(same_spans(got->times, want->times));
    ASSERT_EQ(got->spans.size(), want->spans.size());
    for (std::size_t k = 0; k < got->spans.size(); ++k)
      EXPECT_TRUE(got->spans[k].first == want->spans[k].first && got->spans[k].last == want->spans[k].last) << k;
  }
}

// Lines chosen once the times are known take whole the blocks inside a
// period and pass over those outside; what they take must be what one
// reading with the periods takes: at block ends and inside blocks, with
// blocks that hold lines without a time, after the clock, or out of order.
TEST(LogPeriod, LinesChosenAfterTheTimesAreThoseChosenWhileReading) {
  const std::size_t kLines = 280000;  // read in two halves
  // Line i: second i / 4 of 01 Oct onwards; unstamped in one stretch, after
  // the clock in another, and a stretch written out of time order.
  auto stamp = [](std::size_t i) -> std::optional<LogMoment> {
    if (i >= 50000 && i < 51000 && i % 7 == 0) return std::nullopt;
    if (i >= 90000 && i < 90100) return 20991231000000;
    std::size_t second = i / 4;
    if (i >= 120000 && i < 130000) second = (i * 37) % 70000;
    return 20241001000000 + second / 86400 * 1000000 + second / 3600 % 24 * 10000 + second / 60 % 60 * 100 + second % 60;
  };
  std::vector<std::vector<std::string>> logs(1);
  for (std::size_t i = 0; i < kLines; ++i) {
    char text[32] = "-";
    if (const std::optional<LogMoment> m = stamp(i))
      std::snprintf(text, sizeof text, "%02d/Oct/%04d:%02d:%02d:%02d", int(*m / 1000000 % 100), int(*m / 10000000000),
                    int(*m / 10000 % 100), int(*m / 100 % 100), int(*m % 100));
    logs[0].push_back(text);
  }
  const LogLines lines = JoinedLog(logs);
  const LogMoment clock = 20241231000000;
  const LogTimes first = ReadLogTimes(lines, clock);
  // Line 4 * 4096 = 16384 is the first of its block and stamped 01:08:16.
  const std::optional<TimePeriod> none;
  const struct Case {
    const char* name;
    std::optional<TimePeriod> period, previous;
  } cases[] = {
      {"inside_blocks", TimePeriod{20241001010000, 20241001035959}, TimePeriod{20241001000000, 20241001005959}},
      {"at_block_ends", TimePeriod{20241001010816, 20241001021535}, none},
      {"over_the_unstamped_and_late_lines", TimePeriod{20241001030000, 20241001075959},
       TimePeriod{20241000000000, 20241001025959}},
      {"over_the_unordered_stretch", TimePeriod{20241001080000, 20241001095959}, TimePeriod{20241001060000, 20241001075959}},
      {"everything", TimePeriod{0, kLastMoment}, none},
      {"nothing", TimePeriod{20250101000000, 20250102000000}, TimePeriod{20240101000000, 20240102000000}},
      {"only_a_previous_period", none, TimePeriod{20241001120000, 20241001235959}},
  };
  for (const Case& c : cases) {
    LogTimes chosen = first;
    ChoosePeriodLines(lines, clock, c.period, c.previous, chosen);
    const LogTimes read = ReadLogTimes(lines, clock, c.period, c.previous);
    for (auto [got, want] : {std::pair{&chosen.period, &read.period}, std::pair{&chosen.previous, &read.previous}}) {
      EXPECT_EQ(got->count, want->count) << c.name;
      EXPECT_EQ(got->times.has_value(), want->times.has_value()) << c.name;
      if (got->times && want->times) {
        EXPECT_EQ(got->times->earliest, want->times->earliest) << c.name;
        EXPECT_EQ(got->times->latest, want->times->latest) << c.name;
      }
      ASSERT_EQ(got->spans.size(), want->spans.size()) << c.name;
      for (std::size_t k = 0; k < got->spans.size(); ++k)
        EXPECT_TRUE(got->spans[k].first == want->spans[k].first && got->spans[k].last == want->spans[k].last)
            << c.name << " " << k;
    }
  }
}

TEST(PreviousPeriod, TheSameLengthJustBefore) {
  struct Case {
    const char* name;
    TimePeriod period;
    std::optional<TimePeriod> before;
  };
  for (const Case& c : std::vector<Case>{
           {"OneSecond", {20241001100000, 20241001100000}, TimePeriod{20241001095959, 20241001095959}},
           {"AMonthOf31Days", {20241001000000, 20241031235959}, TimePeriod{20240831000000, 20240930235959}},
           {"ThirtyDaysOverALeapDay", {20240301000000, 20240330235959}, TimePeriod{20240131000000, 20240229235959}},
           {"OverNewYear", {20250101000000, 20250101235959}, TimePeriod{20241231000000, 20241231235959}},
           // A leap second stands for the first second of the next minute.
           {"LeapSecondAtTheEnd", {20120630235959, 20120630235960}, TimePeriod{20120630235957, 20120630235958}},
           {"StartsAtTheFirstMoment", {10101000000, 10101000009}, std::nullopt},
       }) {
    const std::optional<TimePeriod> before = PeriodBefore(c.period);
    ASSERT_EQ(before.has_value(), c.before.has_value()) << c.name;
    if (before) {
      EXPECT_EQ(before->since, c.before->since) << c.name;
      EXPECT_EQ(before->until, c.before->until) << c.name;
    }
  }
}

TEST(PreviousPeriod, OfALineRangeTakesTheLinesOutsideItByTheirOwnTime) {
  struct Case {
    const char* name;
    std::vector<std::string> stamps;
    std::size_t first, last;
    TimePeriod period;
    Spans spans;
    bool complete;
  };
  // The range's first and last lines span 10:00:10 to 10:00:19: the
  // previous period is 10:00:00 to 10:00:09.
  const std::string at = "01/Oct/2024:10:00:";
  for (const Case& c : std::vector<Case>{
           {"LinesJustBefore", {at + "00", at + "05", at + "09", at + "10", at + "15", at + "19"}, 3, 5,
            {20241001100000, 20241001100009}, {{0, 2}}, true},
           {"LogBeginsInsideThePreviousPeriod", {at + "05", at + "09", at + "10", at + "19"}, 2, 3,
            {20241001100000, 20241001100009}, {{0, 1}}, false},
           {"NothingBeforeTheRange", {at + "10", at + "19"}, 0, 1, {20241001100000, 20241001100009}, {}, false},
           {"TooEarlyIsLeftOut", {at + "00", "01/Oct/2024:09:59:59", at + "08", at + "10", at + "19"}, 3, 4,
            {20241001100000, 20241001100009}, {{0, 0}, {2, 2}}, true},
           // Lines of the range that are stamped in the previous period
           // belong to the range; lines after it stamped there do not.
           // Lines without a time at the range's ends: its first and last
           // lines with one set the span.
           {"EndsWithoutTime", {at + "05", "-", at + "10", at + "19", "-"}, 1, 4,
            {20241001100000, 20241001100009}, {{0, 0}}, false},
           {"OneLineWithATime", {at + "09", "-", at + "10", "-"}, 1, 3,
            {20241001100009, 20241001100009}, {{0, 0}}, true},
           {"OutOfOrderAcrossThePeriods", {at + "01", at + "10", at + "02", at + "19", at + "03", "-"}, 1, 3,
            {20241001100000, 20241001100009}, {{0, 0}, {4, 4}}, false},
       }) {
    const PreviousPeriod previous = PreviousOfRange(JoinedLog({c.stamps}), c.first, c.last);
    EXPECT_EQ(previous.period.since, c.period.since) << c.name;
    EXPECT_EQ(previous.period.until, c.period.until) << c.name;
    Spans spans;
    for (const LineSpan& s : previous.lines.spans) spans.emplace_back(s.first, s.last);
    EXPECT_EQ(spans, c.spans) << c.name;
    EXPECT_EQ(previous.complete, c.complete) << c.name;
  }
}

TEST(PreviousPeriod, OfALineRangeThatCannotHaveOne) {
  struct Case {
    const char* name;
    std::vector<std::string> stamps;
    std::string message;
  };
  for (const Case& c : std::vector<Case>{
           {"NoLineWithATime", {"-", "-"}, "エラー　前回の期間を決められません（範囲の行に時刻がありません）"},
           {"EndBeforeStart", {"01/Oct/2024:10:00:09", "01/Oct/2024:10:00:00"},
            "エラー　前回の期間を決められません（範囲の最後の行の時刻 2024-10-01 10:00:00 が最初の行の時刻 "
            "2024-10-01 10:00:09 より前です）"},
       }) {
    try {
      PreviousOfRange(JoinedLog({c.stamps}), 0, 1);
      ADD_FAILURE() << c.name << ": no error";
    } catch (const Error& e) {
      EXPECT_EQ(Cp932ToUtf8(e.what()), c.message) << c.name;
    }
  }
}

}  // namespace
}  // namespace junmaru
