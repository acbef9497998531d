#include "batch_run.h"

#include <climits>
#include <exception>
#include <new>

#include "cp932.h"
#include "error.h"
#include "file_io.h"
#include "log_lines.h"
#include "messages.h"
#include "program_path.h"
#include "ranking_page.h"
#include "report_document.h"
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
    return ReadSettings(path);
  } catch (const std::bad_alloc&) {
    throw Error(messages::OutOfMemoryReading(PathForMessage(path)));
  }
}

}  // namespace

std::string DefaultSettingsPath() { return PathInFolder(ProgramFolder(), kSettingsFileName); }

int RunBatch(const BatchOptions& options, std::FILE* err) {
  Settings settings;
  try {
    settings = ReadSettingsOrSay(options.settings.value_or(DefaultSettingsPath()));
  } catch (const Error& e) {
    std::fprintf(err, "%s\n", Cp932ToUtf8(e.what()).c_str());
    return kRunFailed;
  }

  const std::string log_path = options.log.value_or(settings.ReadPass);
  if (!options.log && log_path == kNoPath) {
    PrintUsageProblem(err, "no log file: give --log, or choose a log in the window first");
    return kBadArguments;
  }
  std::string out_path;
  if (options.out) {
    out_path = *options.out;
  } else if (options.log) {
    out_path = ReportPathFor(*options.log);
  } else {
    out_path = settings.SavePass;
    if (out_path == kNoPath) {
      PrintUsageProblem(err, "no output file: give --out, or choose one in the window first");
      return kBadArguments;
    }
  }

  TerminalView view(err, IsTerminal(err));
  try {
    if (!FileExists(log_path)) throw Error(messages::LogFileMissing());
    LogLines lines;
    lines.LoadFromFile(log_path);
    const long long first = options.from.value_or(1);
    const long long last = options.to.value_or(static_cast<long long>(lines.Count()));
    CheckRange(lines, first, last);
    RunRankingToPage(lines, ToRunSettings(settings, first, last), out_path, view);
  } catch (const std::bad_alloc&) {
    // Loading and tallying the log; the page's own shortage names the page.
    view.PrintLine(messages::OutOfMemoryReading(PathForMessage(log_path)));
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
