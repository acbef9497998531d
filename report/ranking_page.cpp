#include "ranking_page.h"

#include "cp932.h"
#include "ranking_run.h"
#include "report_document.h"

namespace junmaru {

void RunRankingToPage(const LogLines& lines, const RunSettings& settings, const std::string& save_pass,
                      RunView& view) {
  {
    // The ranking and the page's lines live only until the page is saved.
    const Ranking ranking = RunRanking(lines, settings, view);
    SaveReport(ComposeReport(lines, settings, ranking, view), save_pass);
  }
  CheckGaugeImage(save_pass, view);
  view.SetStatusText(Sjis("出力完了！"));
}

}  // namespace junmaru
