#include "ranking_to_page.h"

#include <new>

#include "cp932.h"
#include "error.h"
#include "file_io.h"
#include "messages.h"
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

}  // namespace

void SaveReport(const std::vector<PageLine>& report_lines, const std::string& save_pass) {
  ReplaceFile(save_pass, [&report_lines](ByteSink& sink) { WriteReport(report_lines, sink); });
}

void RunRankingToPage(const LogLines& lines, const Settings& settings, const std::string& save_pass, RunView& view) {
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
