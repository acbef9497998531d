#include "batch_run.h"

#include <ctime>
#include <exception>
#include <future>
#include <memory>
#include <new>

#include "batch_logs.h"
#include "cp932.h"
#include "curl_remote.h"
#include "error.h"
#include "file_io.h"
#include "log_lines.h"
#include "log_period.h"
#include "messages.h"
#include "profile_file.h"
#include "publish.h"
#include "ranking_to_page.h"
#include "remote_logs.h"
#include "report_path.h"
#include "settings.h"
#include "terminal.h"
#include "terminal_view.h"
#include "transfer_messages.h"
#include "user_home.h"

namespace junmaru::batch {
namespace {

// A path the settings file holds as "0" means none was ever chosen.
constexpr char kNoPath[] = "0";

void PrintUsageProblem(std::FILE* err, const std::string& problem) {
  std::fprintf(err, "junmaru-batch: %s\n%s\n", problem.c_str(), kUsageLine);
}

// The range must name lines of the log.
void CheckRange(const LogLines& lines, long long first, long long last) {
  const long long count = static_cast<long long>(lines.Count());
  if (first < 1 || last > count || last < first) throw Error(messages::RangeOutsideLog(first, last, count));
}

// The settings file, read, with the command line's counting rules over
// its own; running out of memory for it is an error that names it, and so
// is a counting rule whose stored value cannot be read, unless an option
// overrides it.
Settings ReadSettingsOrSay(const std::string& path, const BatchOptions& options) {
  std::vector<SettingProblem> problems;
  Settings settings;
  try {
    settings = ReadSettings(ProfileFile(path), &problems);
  } catch (const std::bad_alloc&) {
    throw Error(messages::OutOfMemoryReading(PathForMessage(path)));
  }
  const struct {
    std::string_view key;
    const std::optional<bool>& option;
    bool& rule;
  } switches[] = {{"AnyHttp", options.any_http, settings.AnyHttp},
                  {"OncePerClient", options.once_per_client, settings.OncePerClient},
                  {"Bots", options.bots, settings.Bots},
                  {"Decode", options.decode, settings.Decode},
                  {"Trend", options.trend, settings.Trend},
                  {"Clients", options.clients, settings.Clients}};
  for (const auto& s : switches)
    if (s.option) s.rule = *s.option;
  if (options.status) settings.Status = *options.status;
  for (const SettingProblem& problem : problems) {
    const bool overridden = problem.key == "Status" ? options.status.has_value() : [&] {
      for (const auto& s : switches)
        if (s.key == problem.key) return s.option.has_value();
      return false;
    }();
    if (!overridden) throw Error(problem.message);
  }
  return settings;
}

bool IsAddress(const std::string& log) { return transfer::LooksLikeUrl(log); }

// Every address the run reaches, for the warning about plain FTP.
std::vector<std::string> AddressesOf(const BatchOptions& options) {
  std::vector<std::string> addresses = options.log_lists;
  for (const std::string& log : options.logs)
    if (IsAddress(log)) addresses.push_back(log);
  if (options.publish) addresses.push_back(*options.publish);
  return addresses;
}

transfer::RemoteUrl UrlOf(const std::string& address) { return *transfer::ParseRemoteUrl(address).url; }

// The logs in reading order: the listed ones (each folder's by name),
// then each --log, fetched when it is an address.
std::vector<LogInput> GatherLogs(const BatchOptions& options, const std::vector<std::string>& log_paths,
                                 transfer::Remote* remote, transfer::TransferProgress& progress) {
  std::vector<LogInput> inputs;
  for (const std::string& folder : options.log_lists)
    for (const transfer::RemoteUrl& url : transfer::ListLogs(*remote, UrlOf(folder), options.log_match))
      inputs.push_back(transfer::FetchLog(*remote, url, progress));
  for (const std::string& path : log_paths)
    inputs.push_back(IsAddress(path) ? transfer::FetchLog(*remote, UrlOf(path), progress) : LogInput{path, std::nullopt});
  return inputs;
}

// The page's name without its folder.
std::string NameOf(const std::string& path) {
  const std::string folder = FolderOf(path);
  const auto separator = [](char c) { return c == '/' || c == '\\'; };
  if (path.compare(0, folder.size(), folder) != 0 || path.size() <= folder.size()) return path;
  if (separator(folder.back())) return path.substr(folder.size());
  if (!separator(path[folder.size()])) return path;
  return path.substr(folder.size() + 1);
}

// What goes to the site: the bar image when the site has none, the
// exports, then the page, last, so that it never refers to a file not
// there yet.
std::vector<transfer::PublishFile> FilesToPublish(const std::string& page, const RankingExports& exports) {
  std::vector<transfer::PublishFile> files;
  const std::string gage = PathInFolder(FolderOf(page), "gage.gif");
  if (FileExists(gage)) files.push_back({gage, "gage.gif", true});
  for (const std::string& path : {exports.csv, exports.json})
    if (!path.empty()) files.push_back({path, NameOf(path), false});
  files.push_back({page, NameOf(page), false});
  return files;
}

RankingExports ExportsOf(const BatchOptions& options) {
  RankingExports exports;
  exports.csv = options.csv.value_or("");
  exports.json = options.json.value_or("");
  if (options.csv_utf8) exports.csv_encoding = CsvEncoding::kUtf8;
  return exports;
}

}  // namespace

int RunBatch(const BatchOptions& options, std::FILE* err) {
  Settings settings;
  // The crawler list of Bots is read on a thread of its own while the logs
  // load, which leaves the second processor idle; a run that fetches logs
  // waits for it first, so that a list it cannot read costs no transfer.
  std::future<std::shared_ptr<const CrawlerList>> crawlers;
  try {
    settings = ReadSettingsOrSay(options.settings.value_or(ProgramSettingsPath()), options);
    if (settings.Bots) crawlers = std::async(std::launch::async | std::launch::deferred, ProgramCrawlerList);
  } catch (const Error& e) {
    std::fprintf(err, "%s\n", Cp932ToUtf8(e.what()).c_str());
    return kRunFailed;
  }

  const bool fetches = !options.log_lists.empty();
  std::vector<std::string> log_paths = options.logs;
  if (log_paths.empty() && !fetches) log_paths.push_back(settings.ReadPass);
  if (log_paths.empty() && !fetches && settings.ReadPass == kNoPath) {
    PrintUsageProblem(err, "no log file: give --log, or choose a log in the window first");
    return kBadArguments;
  }
  std::string out_path;
  if (options.out) {
    out_path = *options.out;
  } else if (!options.logs.empty() && !IsAddress(options.logs.back())) {
    out_path = ReportPathFor(options.logs.back());  // the newest log, where the keeper lists it last
  } else {
    out_path = settings.SavePass;
    if (out_path == kNoPath) {
      PrintUsageProblem(err, "no output file: give --out, or choose one in the window first");
      return kBadArguments;
    }
  }

  if (const std::string twice = SameLogTwice(log_paths); !twice.empty()) {
    PrintUsageProblem(err, twice);
    return kBadArguments;
  }

  TerminalView view(err, IsTerminal(err));
  const Warn warn = [&view](const std::string& text) { view.PrintLine(text); };
  std::unique_ptr<transfer::Remote> remote;
  const std::vector<std::string> addresses = AddressesOf(options);
  try {
    for (const std::string& path : log_paths)
      if (!IsAddress(path) && !FileExists(path)) throw Error(messages::LogFileMissingNamed(PathForMessage(path)));
    if (!addresses.empty()) {
      if (crawlers.valid()) settings.Crawlers = crawlers.get();
      for (const std::string& address : addresses)
        if (UrlOf(address).scheme == transfer::Scheme::kFtp) {
          view.PrintLine(transfer::messages::PlainFtpWarning());
          break;
        }
      remote = std::make_unique<transfer::CurlRemote>(
          transfer::CurlSetup{options.cacert.value_or(""), options.timeout, HomeFolder(), UserName()});
    }
    const LogLines lines = LoadLogs(GatherLogs(options, log_paths, remote.get(), view));
    if (crawlers.valid()) settings.Crawlers = crawlers.get();
    if (options.HasPeriod()) {
      ChosenPeriod chosen = ChoosePeriod(lines, options, settings.Trend, std::time(nullptr), warn);
      const auto period = std::make_shared<const PeriodLines>(std::move(chosen.lines));
      settings.PStart = static_cast<long long>(period->spans.front().first) + 1;
      settings.PEnd = static_cast<long long>(period->spans.back().last) + 1;
      settings.Period = period;
      if (chosen.previous) settings.Previous = std::make_shared<const PreviousPeriod>(std::move(*chosen.previous));
    } else {
      if (lines.Sources().size() > 1) WarnAboutLogs(lines, ReadLogTimes(lines, kLastMoment), warn);
      settings.PStart = options.from.value_or(1);
      settings.PEnd = options.to.value_or(static_cast<long long>(lines.Count()));
      CheckRange(lines, settings.PStart, settings.PEnd);
      if (settings.Trend) {
        auto previous = std::make_shared<const PreviousPeriod>(
            PreviousOfRange(lines, static_cast<std::size_t>(settings.PStart - 1), static_cast<std::size_t>(settings.PEnd - 1)));
        WarnIfPreviousShort(*previous, warn);
        settings.Previous = previous;
      }
    }
    const RankingExports exports = ExportsOf(options);
    const PageRunSummary summary = RunRankingToPage(lines, settings, out_path, view, exports);
    if (!settings.AnyHttp && summary.other_http_lines > 0)
      view.PrintLine(messages::WarningMark() + messages::OtherHttpLinesLeftOut(summary.other_http_lines, "--any-http"));
    if (options.publish) transfer::Publish(*remote, UrlOf(*options.publish), FilesToPublish(out_path, exports), view);
  } catch (const std::bad_alloc&) {
    // Loading and tallying the log; the page's own shortage names the page.
    view.PrintLine(messages::OutOfMemoryReading(PathForMessage(log_paths.empty() ? options.log_lists.back() : log_paths.back())));
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
