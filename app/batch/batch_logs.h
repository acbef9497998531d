#pragma once

// The logs of a run from the command line, as a scheduled job needs them:
// loaded beside the server that writes them, checked for what would make
// the page wrong without a word (a log given twice, logs that fall short
// of the period or come out of order), and the lines of a period chosen by
// their own time.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "batch_options.h"
#include "log_lines.h"
#include "log_period.h"

namespace junmaru::batch {

// Tells the keeper something on standard error (code page 932 text).
using Warn = std::function<void(const std::string&)>;

// The problem with the --log arguments when two of them name the same
// file (under any name or link); empty when there is none.
std::string SameLogTwice(const std::vector<std::string>& paths);

// The logs read as one, each file shared with its writer where the system
// lets a writer refuse readers (Windows). Fails with "ログ %s に行がありません"
// when they hold no line.
LogLines LoadLogs(std::vector<LogInput> inputs);

// With several logs: warns of a log that begins before an earlier one
// ends (more than a few minutes), and of two logs with the same first and
// last lines (a .gz and its plain twin).
void WarnAboutLogs(const LogLines& lines, const LogTimes& times, const Warn& warn);

// The lines of the period the options name, by their own time: lines
// stamped more than a day after now (seconds since 1970, the machine's
// clock) are left out with a warning, and so is the log's shortfall when
// its times begin after the period's start or (with --until) end before
// its end; --strict makes the shortfall an error. Fails with the
// no-line message when the period holds no line. With trend, also the
// previous period, read in the same pass: the same span just before the
// period (an open end is the logs' own earliest or latest time).
struct ChosenPeriod {
  PeriodLines lines;
  std::optional<PreviousPeriod> previous;
};
ChosenPeriod ChoosePeriod(const LogLines& lines, const BatchOptions& options, bool trend, long long now,
                          const Warn& warn);

// Warns when the logs do not reach back over the whole previous period.
void WarnIfPreviousShort(const PreviousPeriod& previous, const Warn& warn);

}  // namespace junmaru::batch
