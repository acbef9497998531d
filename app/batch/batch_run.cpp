#include "batch_run.h"

#include <climits>
#include <exception>
#include <new>

#include "cp932.h"
#include "error.h"
#include "file_io.h"
#include "log_lines.h"
#include "log_period.h"
#include "messages.h"
#include "profile_file.h"
#include "ranking_to_page.h"
#include "report_path.h"
#include "settings.h"
#include "terminal.h"
#include "terminal_view.h"

namespace junmaru::batch {
namespace {

// A path the settings file holds as "0" means none was ever chosen.
constexpr char kNoPath[] = "0";

void PrintUsageProblem(std::FILE* err, const std::string& problem) {
  std::fprintf(err, "junmaru-batch: %s\n%s\n", problem.c_str(), kUsageLine);
}

// The 0-based index of a 1-based line; the lowest number stays itself
// rather than overflow.
long long IndexOf(long long line) { return line == LLONG_MIN ? line : line - 1; }

// The range must name lines of the log, as the run reads them: the first
// line that would be read outside it is the one the message names.
void CheckRange(const LogLines& lines, long long first, long long last) {
  const long long count = static_cast<long long>(lines.Count());
  if (count == 0) throw Error(messages::ListIndexOutOfRange(0));
  if (first < 1 || first > count) throw Error(messages::ListIndexOutOfRange(IndexOf(first)));
  if (last > count) throw Error(messages::ListIndexOutOfRange(count));
  // Only an end below line 1 can lie before a good start here (--from
  // beyond --to was refused with the arguments).
  if (last < first) throw Error(messages::ListIndexOutOfRange(IndexOf(last)));
}

// The settings file, read; running out of memory for it is an error that
// names it.
Settings ReadSettingsOrSay(const std::string& path) {
  try {
    return ReadSettings(ProfileFile(path));
  } catch (const std::bad_alloc&) {
    throw Error(messages::OutOfMemoryReading(PathForMessage(path)));
  }
}

// The lines of the period the options name; fails with the no-line message.
LineSpan PeriodOf(const LogLines& lines, const BatchOptions& options) {
  std::optional<LogMoment> since = options.since, until = options.until;
  if (options.days) {
    // The N days that end with the day of the last stamped line.
    const std::optional<LogMoment> last = LastMoment(lines);
    if (!last) throw Error(messages::NoLineInPeriod());
    since = StartOfDayBefore(*last, *options.days - 1);
    until = *last / 1000000 * 1000000 + 235959;
  }
  const std::optional<LineSpan> span = FindPeriod(lines, since, until);
  if (!span) throw Error(messages::NoLineInPeriod());
  return *span;
}

}  // namespace

int RunBatch(const BatchOptions& options, std::FILE* err) {
  Settings settings;
  try {
    settings = ReadSettingsOrSay(options.settings.value_or(ProgramSettingsPath()));
  } catch (const Error& e) {
    std::fprintf(err, "%s\n", Cp932ToUtf8(e.what()).c_str());
    return kRunFailed;
  }

  const std::vector<std::string> log_paths = options.logs.empty() ? std::vector{settings.ReadPass} : options.logs;
  if (options.logs.empty() && settings.ReadPass == kNoPath) {
    PrintUsageProblem(err, "no log file: give --log, or choose a log in the window first");
    return kBadArguments;
  }
  std::string out_path;
  if (options.out) {
    out_path = *options.out;
  } else if (!options.logs.empty()) {
    out_path = ReportPathFor(options.logs.back());  // the newest log, where the keeper lists it last
  } else {
    out_path = settings.SavePass;
    if (out_path == kNoPath) {
      PrintUsageProblem(err, "no output file: give --out, or choose one in the window first");
      return kBadArguments;
    }
  }

  TerminalView view(err, IsTerminal(err));
  try {
    for (const std::string& path : log_paths)
      if (!FileExists(path)) throw Error(messages::LogFileMissing());
    LogLines lines;
    lines.LoadFromFiles(log_paths);
    long long first = options.from.value_or(1);
    long long last = options.to.value_or(static_cast<long long>(lines.Count()));
    if (options.HasPeriod()) {
      const LineSpan span = PeriodOf(lines, options);
      first = static_cast<long long>(span.first) + 1;
      last = static_cast<long long>(span.last) + 1;
    }
    CheckRange(lines, first, last);
    settings.PStart = first;
    settings.PEnd = last;
    RunRankingToPage(lines, settings, out_path, view);
  } catch (const std::bad_alloc&) {
    // Loading and tallying the log; the page's own shortage names the page.
    view.PrintLine(messages::OutOfMemoryReading(PathForMessage(log_paths.back())));
    return kRunFailed;
  } catch (const Error& e) {
    view.PrintLine(e.what());
    return kRunFailed;
  } catch (const std::exception& e) {
    view.ClearBar();
    std::fprintf(err, "junmaru-batch: %s\n", e.what());
    return kRunFailed;
  }
  return kSuccess;
}

}  // namespace junmaru::batch
