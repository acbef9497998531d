#include "report_document.h"

#include <algorithm>

#include "cp932.h"
#include "file_io.h"
#include "html_escape.h"
#include "log_timestamp.h"
#include "ranking_rows.h"

namespace junmaru {
namespace {

std::string Period(const LogLines& lines, const RunSettings& settings, RunView& view) {
  std::string first = EscapeHtml(Date(lines, settings.PStart - 1, view));
  std::string last = EscapeHtml(Date(lines, settings.PEnd - 1, view));
  return first + Sjis("～") + last;
}

void AppendTableHead(const RunSettings& s, const Ranking& ranking, std::vector<PageLine>& out) {
  const std::string rank = std::to_string(s.PRank);
  out.emplace_back(Sjis("<Caption><font color=\"") + s.CText1 + "\">" + rank + Sjis("位までの総DLファイル数：") +
                   std::to_string(ranking.top_total) + "</font></Caption>");
  out.emplace_back("<TABLE border=\"1\" cellpadding=\"5\" cellspacing=\"0\" bordercolor=\"" + s.CBorder +
                   "\" style=\"font-size:" + std::to_string(s.FontSize) + "%\">");
  out.emplace_back("<tr><td><font color=\"" + s.CText1 + Sjis("\">順位</font></td>"));
  out.emplace_back("<td><font color=\"" + s.CText1 + Sjis("\">ファイル名</font></td>"));
  out.emplace_back("<td width=\"150\"><font color=\"" + s.CText1 + Sjis("\">DLゲージ</font></td>"));
  out.emplace_back("<td><font color=\"" + s.CText1 + Sjis("\">DL数</font></td></tr>"));
}

// The rows, best place first; the gauge follows them from 950 to 1000.
// Every place is visited, also those beyond the places shown, as the
// gauge counts them all.
void AppendRows(const Ranking& ranking, const RunSettings& settings, RunView& view, std::vector<PageLine>& out) {
  RankingRows rows(ranking, settings);
  const long long n = static_cast<long long>(ranking.Size());
  for (long long j = 0; j < n; ++j) {
    rows.Output(j, out);
    view.SetProgress(n == 1 ? 1000 : 950 + j * 50 / (n - 1));
  }
}

// The settings with their seven colours as they may stand inside an
// attribute: whatever the settings file holds, the markup stays closed.
RunSettings WithSafeColours(RunSettings s) {
  for (std::string* colour : {&s.CBG, &s.CBorder, &s.CText1, &s.CText2, &s.CLink, &s.ALink, &s.VLink})
    *colour = EscapeAttribute(*colour);
  return s;
}

}  // namespace

std::vector<PageLine> ComposeReport(const LogLines& lines, const RunSettings& settings, const Ranking& ranking,
                                    RunView& view) {
  const RunSettings s = WithSafeColours(settings);
  std::vector<PageLine> out;
  const std::size_t shown = s.PRank > 0 ? static_cast<std::size_t>(s.PRank) : 0;
  out.reserve(18 + std::min(ranking.Size(), shown));
  out.emplace_back("<html>");
  out.emplace_back("<head><title>" + Period(lines, s, view) + Sjis("までのダウンロードランキング</title></head>"));
  out.emplace_back("<BODY bgcolor=\"" + s.CBG + "\" text=\"" + s.CText2 + "\" link=\"" + s.CLink + "\" alink=\"" +
                   s.ALink + "\" vlink=\"" + s.VLink + "\">");
  out.emplace_back("<center><BR><BR>");
  out.emplace_back("<font color=\"" + s.CText1 + "\" size=\"+1\"><b>" + Period(lines, s, view) + Sjis("までの<BR>"));
  out.emplace_back(Sjis("ファイルダウンロード数ランキング（TOP ") + std::to_string(s.PRank) +
                   Sjis("）</b></font><BR><BR>"));
  out.emplace_back("<font color=\"" + s.CText1 + Sjis("\">※管理人の手動更新なので更新を押しても無駄です</font><br><br>"));

  if (ranking.Size() == 0) {
    out.emplace_back(Sjis("<b>該当するデータはありません。</b>"));
    view.SetProgress(1000);
  } else {
    AppendTableHead(s, ranking, out);
    AppendRows(ranking, s, view, out);
    out.emplace_back("</TABLE>");
  }

  out.emplace_back("</center><BR><BR>");
  out.emplace_back(Sjis("<Div align=\"right\"><font size=\"-1\">ランキング生成 by 順位丸</font></div>"));
  out.emplace_back("</body>");
  out.emplace_back("</html>");
  return out;
}

void WriteReport(const std::vector<PageLine>& report_lines, ByteSink& sink) {
  for (const PageLine& line : report_lines) {
    line.WriteTo(sink);
    sink.Write("\r\n");
  }
}

std::string ReportBytes(const std::vector<PageLine>& report_lines) {
  std::string bytes;
  StringSink sink(bytes);
  WriteReport(report_lines, sink);
  return bytes;
}

void SaveReport(const std::vector<PageLine>& report_lines, const std::string& save_pass) {
  ReplaceFile(save_pass, [&report_lines](ByteSink& sink) { WriteReport(report_lines, sink); });
}

std::string ReportPathFor(const std::string& log_path) { return PathInFolder(FolderOf(log_path), "ranking.html"); }

void CheckGaugeImage(const std::string& save_pass, RunView& view) {
  if (FileExists(PathInFolder(FolderOf(save_pass), "gage.gif"))) return;
  view.ShowMessage(Sjis("HTML出力先にゲージ用画像(gage.gif)がありませんので移動するか作るかしてください。"));
}

}  // namespace junmaru
