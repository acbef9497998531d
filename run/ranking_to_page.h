#pragma once

// The GO action without a window, for both windows and junmaru-batch: the
// ranking run, then the report step that composes the ranking page, saves
// it to save_pass (after the exports of the same ranking, when asked for),
// checks for "gage.gif" beside it and sets the last status text. A target
// that leads to the loaded log (by any name or link), or two targets that
// lead to one file, are refused before the run starts; running out of
// memory while a file is made or saved fails with a message that names it.
// With the rank changes over a range of lines (no period), the previous
// period is the one the range's own times give (PreviousOfRange).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "crawler_list.h"

#include "log_lines.h"
#include "page_line.h"
#include "ranking_export.h"
#include "run_view.h"
#include "settings.h"

namespace junmaru {

// The ranking as data, written beside the page; an empty path writes none.
struct RankingExports {
  std::string csv;
  std::string json;
  CsvEncoding csv_encoding = CsvEncoding::kCp932;
};

// The window's exports: "ranking.csv" (code page 932) and "ranking.json"
// in the folder of the page at save_pass, whatever the page's own name.
RankingExports ExportsBesidePage(const std::string& save_pass);

// What a run tells its caller besides the page.
struct PageRunSummary {
  // With AnyHttp off: the lines it would have counted (HTTP/2 and the
  // like) that the run passed over.
  std::int64_t other_http_lines = 0;
};

// With the Bots rule on and no crawler list in settings, the list beside
// the program (ProgramCrawlerList) is read first.
PageRunSummary RunRankingToPage(const LogLines& lines, const Settings& settings, const std::string& save_pass,
                                RunView& view, const RankingExports& exports = {});

// The crawler list of the Bots rule, kCrawlerListFileName in the program's
// folder. Fails with a message that names the file and the key Bots.
std::shared_ptr<const CrawlerList> ProgramCrawlerList();

// Saves the page whole, writing it a block at a time: a failed save leaves
// the previous file as it was. Fails with "ファイル %s を作成できません" or
// "ストリームへの書き込みエラー".
void SaveReport(const std::vector<PageLine>& report_lines, const std::string& save_pass);

}  // namespace junmaru
