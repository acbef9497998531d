#include "batch_logs.h"

#include "cp932.h"
#include "error.h"
#include "file_io.h"
#include "messages.h"

namespace junmaru::batch {
namespace {

// Logs that overlap by less than this are in order: a server writes a
// request when it ends, so the last lines of a log and the first of the
// next one may be out of order by the time a download takes.
constexpr long long kOverlapSeconds = 5 * 60;

std::string Named(const std::string& path) { return PathForMessage(path); }

// The first and the last line of a log's text (with its breaks).
std::pair<std::string_view, std::string_view> Ends(std::string_view text) {
  const std::string_view first = text.substr(0, text.find_first_of("\r\n"));
  std::string_view body = text;
  while (!body.empty() && (body.back() == '\n' || body.back() == '\r')) body.remove_suffix(1);
  const std::size_t last_break = body.find_last_of("\r\n");
  return {first, last_break == std::string_view::npos ? body : body.substr(last_break + 1)};
}

std::string SpanText(std::optional<LogMoment> from, std::optional<LogMoment> to) {
  return (from ? MomentText(*from) : std::string()) + Sjis("～") + (to ? MomentText(*to) : std::string());
}

}  // namespace

std::string SameLogTwice(const std::vector<std::string>& paths) {
  for (std::size_t j = 0; j < paths.size(); ++j) {
    const FileIdentity later = IdentityOf(paths[j]);
    for (std::size_t i = 0; i < j; ++i)
      if (IdentityOf(paths[i]).SameFileAs(later))
        return "the log '" + paths[j] + "' is given twice (it is the same file as '" + paths[i] + "')";
  }
  return {};
}

LogLines LoadLogs(std::vector<LogInput> inputs) {
  std::string names;
  for (const LogInput& input : inputs) {
    if (!names.empty()) names += Sjis("、");
    names += Named(input.name);
  }
  LogLines lines;
  lines.LoadFromInputs(std::move(inputs), {FileShare::kShareWithWriters});
  if (lines.Empty()) throw Error(messages::LogHasNoLines(names));
  return lines;
}

void WarnAboutLogs(const LogLines& lines, const LogTimes& times, const Warn& warn) {
  const std::vector<LoadedSource>& sources = lines.Sources();
  // The log that ends latest so far, against each log's beginning.
  std::optional<std::size_t> latest;
  for (std::size_t j = 0; j < times.sources.size(); ++j) {
    const std::optional<TimeSpan>& span = times.sources[j];
    if (!span) continue;
    if (latest && UnixTimeOf(times.sources[*latest]->latest) - UnixTimeOf(span->earliest) > kOverlapSeconds)
      warn(messages::WarningMark() + messages::LogsOutOfOrder(Named(sources[j].path), Named(sources[*latest].path)));
    if (!latest || span->latest > times.sources[*latest]->latest) latest = j;
  }
  for (std::size_t j = 0; j < sources.size(); ++j) {
    const std::string_view text = lines.SourceText(j);
    if (text.empty()) continue;
    for (std::size_t i = 0; i < j; ++i)
      if (!lines.SourceText(i).empty() && Ends(lines.SourceText(i)) == Ends(text))
        warn(messages::WarningMark() + messages::LogsAlike(Named(sources[i].path), Named(sources[j].path)));
  }
}

void WarnIfPreviousShort(const PreviousPeriod& previous, const Warn& warn) {
  if (previous.complete) return;
  warn(messages::WarningMark() +
       messages::PreviousFallsShort(SpanText(previous.period.since, previous.period.until),
                                    previous.covered ? SpanText(previous.covered->earliest, previous.covered->latest)
                                                     : Sjis("（時刻のある行なし）")));
}

ChosenPeriod ChoosePeriod(const LogLines& lines, const BatchOptions& options, bool trend, long long now,
                          const Warn& warn) {
  const LogMoment not_after = MomentOfUnixTime(now + 86400).value_or(kLastMoment);
  TimePeriod period{options.since.value_or(0), options.until.value_or(kLastMoment)};
  const bool closed = options.since && options.until;
  std::optional<TimePeriod> before = trend && closed ? PeriodBefore(period) : std::nullopt;
  LogTimes times = ReadLogTimes(lines, not_after, options.days ? std::nullopt : std::optional(period), before);
  if (options.days) {
    // The N days that end with the day of the latest time in the logs.
    if (!times.all) throw Error(messages::NoLineInPeriod());
    period = {StartOfDayBefore(times.all->latest, *options.days - 1).value_or(0), EndOfDay(times.all->latest)};
    if (trend) before = PeriodBefore(period);
    ChoosePeriodLines(lines, not_after, period, before, times);
  } else if (trend && !closed && times.all) {
    // An open end is where the logs end: the previous period is the span
    // of that length before.
    const TimePeriod given{options.since.value_or(times.all->earliest), options.until.value_or(times.all->latest)};
    if (given.since <= given.until) {
      before = PeriodBefore(given);
      if (before) ChoosePeriodLines(lines, not_after, period, before, times);
    }
  }
  if (times.later_lines > 0)
    warn(messages::WarningMark() + messages::LaterLinesLeftOut(static_cast<long long>(times.later_lines),
                                                               MomentText(not_after)));
  if (lines.Sources().size() > 1) WarnAboutLogs(lines, times, warn);

  const bool has_start = options.since || options.days;
  const bool short_at_start = has_start && (!times.all || times.all->earliest > period.since);
  const bool short_at_end = options.until && (!times.all || times.all->latest < period.until);
  if (short_at_start || short_at_end) {
    const std::string shortfall = messages::LogsFallShort(
        SpanText(has_start ? std::optional(period.since) : std::nullopt,
                 options.until || options.days ? std::optional(period.until) : std::nullopt),
        times.all ? SpanText(times.all->earliest, times.all->latest) : Sjis("（時刻のある行なし）"));
    if (options.strict) throw Error(messages::ErrorMark() + shortfall);
    warn(messages::WarningMark() + shortfall);
  }
  if (times.period.count == 0) throw Error(messages::NoLineInPeriod());
  ChosenPeriod chosen{std::move(times.period), std::nullopt};
  if (trend) {
    PreviousPeriod& previous = chosen.previous.emplace();
    previous.period = before.value_or(TimePeriod{0, 0});
    previous.lines = std::move(times.previous);
    previous.covered = times.all;
    previous.complete = before && times.all && times.all->earliest <= before->since;
    WarnIfPreviousShort(previous, warn);
  }
  return chosen;
}

}  // namespace junmaru::batch
