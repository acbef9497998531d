#include "ranking_to_page.h"

#include <memory>
#include <new>

#include "cp932.h"
#include "error.h"
#include "file_io.h"
#include "log_period.h"
#include "messages.h"
#include "program_path.h"
#include "ranking_run.h"
#include "report_document.h"

namespace junmaru {
namespace {

// Tells the keeper, through one message box, when no "gage.gif" lies in
// the folder of save_pass (a folder of that name does not count).
void CheckGaugeImage(const std::string& save_pass, RunView& view) {
  if (FileExists(PathInFolder(FolderOf(save_pass), "gage.gif"))) return;
  view.ShowMessage(Sjis("HTML出力先にゲージ用画像(gage.gif)がありませんので移動するか作るかしてください。"));
}

// Every file the run writes must be neither the log it counts (saving
// over it would lose it) nor a file another output writes too; and when
// it exists, a regular file (the save refuses anything else, and should
// one of several targets be refused, none of them is written).
void CheckTargets(const LogLines& lines, const std::vector<std::string>& targets) {
  std::vector<FileIdentity> seen;
  for (std::size_t i = 0; i < targets.size(); ++i) {
    const FileIdentity identity = IdentityOf(targets[i]);
    if (lines.LoadedFrom(identity)) throw Error(messages::PageIsTheLog(PathForMessage(targets[i])));
    if (targets.size() > 1 && identity.known && !FileExists(targets[i]))
      throw Error(messages::CannotCreate(PathForMessage(targets[i])));
    for (std::size_t j = 0; j < i; ++j)
      if (targets[j] == targets[i] || seen[j].SameFileAs(identity))
        throw Error(messages::OutputTwice(PathForMessage(targets[i])));
    seen.push_back(identity);
  }
}

// Saves one file; running out of memory for it names it.
void Save(const std::string& path, const FileWriter& writer) {
  try {
    ReplaceFile(path, writer);
  } catch (const std::bad_alloc&) {
    throw Error(messages::OutOfMemoryWriting(PathForMessage(path)));
  }
}

// The previous period of a range of lines, from the range's own times; none
// for a range outside the log, which the run fails on.
std::shared_ptr<const PreviousPeriod> PreviousOfTheRange(const LogLines& lines, const Settings& settings) {
  const long long count = static_cast<long long>(lines.Count());
  if (settings.PStart < 1 || settings.PEnd < settings.PStart || settings.PEnd > count) return nullptr;
  return std::make_shared<const PreviousPeriod>(PreviousOfRange(lines, static_cast<std::size_t>(settings.PStart - 1),
                                                                static_cast<std::size_t>(settings.PEnd - 1)));
}

}  // namespace

void SaveReport(const std::vector<PageLine>& report_lines, const std::string& save_pass) {
  ReplaceFile(save_pass, [&report_lines](ByteSink& sink) { WriteReport(report_lines, sink); });
}

RankingExports ExportsBesidePage(const std::string& save_pass) {
  const std::string folder = FolderOf(save_pass);
  return {.csv = PathInFolder(folder, "ranking.csv"), .json = PathInFolder(folder, "ranking.json"),
          .csv_encoding = CsvEncoding::kCp932};
}

std::shared_ptr<const CrawlerList> ProgramCrawlerList() {
  return CrawlerList::Load(PathInFolder(ProgramFolder(), kCrawlerListFileName));
}

PageRunSummary RunRankingToPage(const LogLines& lines, const Settings& given, const std::string& save_pass,
                                RunView& view, const RankingExports& exports) {
  // What the run needs beyond the settings, unless the caller has it: the
  // crawler list, and with the rank changes over a range, its previous period.
  const bool needs_crawlers = given.Bots && !given.Crawlers;
  const bool needs_previous = given.Trend && !given.Previous && !given.Period;
  Settings completed;
  if (needs_crawlers || needs_previous) {
    completed = given;
    if (needs_crawlers) completed.Crawlers = ProgramCrawlerList();
    if (needs_previous) completed.Previous = PreviousOfTheRange(lines, given);
  }
  const Settings& settings = needs_crawlers || needs_previous ? completed : given;
  PageRunSummary summary;
  std::vector<std::string> targets{save_pass};
  for (const std::string& path : {exports.csv, exports.json})
    if (!path.empty()) targets.push_back(path);
  CheckTargets(lines, targets);
  {
    // The ranking and the page's lines live only until the page is saved.
    const Ranking ranking = RunRanking(lines, settings, view);
    summary.other_http_lines = ranking.other_http_lines;
    std::vector<PageLine> page;
    try {
      page = ComposeReport(lines, settings, ranking, view);
    } catch (const std::bad_alloc&) {
      throw Error(messages::OutOfMemoryWriting(PathForMessage(save_pass)));
    }
    // The exports go first, so that the page, which the keeper publishes,
    // stays as it was when one of them cannot be written.
    if (!exports.csv.empty())
      Save(exports.csv, [&](ByteSink& sink) { WriteRankingCsv(ranking, settings, exports.csv_encoding, sink); });
    if (!exports.json.empty())
      Save(exports.json, [&](ByteSink& sink) { WriteRankingJson(lines, settings, ranking, sink); });
    Save(save_pass, [&page](ByteSink& sink) { WriteReport(page, sink); });
  }
  CheckGaugeImage(save_pass, view);
  view.SetStatusText(Sjis("出力完了！"));
  return summary;
}

}  // namespace junmaru
