#include "ranking_page.h"

#include <new>

#include "cp932.h"
#include "error.h"
#include "file_io.h"
#include "messages.h"
#include "ranking_run.h"
#include "report_document.h"

namespace junmaru {

void RunRankingToPage(const LogLines& lines, const RunSettings& settings, const std::string& save_pass,
                      RunView& view) {
  // Saving the page over the log it counts would lose the log.
  if (lines.LoadedFrom(IdentityOf(save_pass)))
    throw Error(messages::PageIsTheLog(PathForMessage(save_pass)));
  {
    // The ranking and the page's lines live only until the page is saved.
    const Ranking ranking = RunRanking(lines, settings, view);
    try {
      SaveReport(ComposeReport(lines, settings, ranking, view), save_pass);
    } catch (const std::bad_alloc&) {
      throw Error(messages::OutOfMemoryWriting(PathForMessage(save_pass)));
    }
  }
  CheckGaugeImage(save_pass, view);
  view.SetStatusText(Sjis("出力完了！"));
}

}  // namespace junmaru
