#include "report_document.h"

#include <algorithm>

#include "cp932.h"
#include "html_escape.h"
#include "log_timestamp.h"
#include "ranking_rows.h"

namespace junmaru {
namespace {

std::string Period(const LogLines& lines, const Settings& settings, RunView& view) {
  if (settings.Period && settings.Period->times)
    return TimestampText(settings.Period->times->earliest) + Sjis("～") + TimestampText(settings.Period->times->latest);
  std::string first = EscapeHtml(Date(lines, settings.PStart - 1, view));
  std::string last = EscapeHtml(Date(lines, settings.PEnd - 1, view));
  return first + Sjis("～") + last;
}

// The seven colours as they may stand inside an attribute: whatever the
// settings file holds, the markup stays closed.
struct SafeColours {
  explicit SafeColours(const Settings& s)
      : CBG(EscapeAttribute(s.CBG)),
        CBorder(EscapeAttribute(s.CBorder)),
        CText1(EscapeAttribute(s.CText1)),
        CText2(EscapeAttribute(s.CText2)),
        CLink(EscapeAttribute(s.CLink)),
        ALink(EscapeAttribute(s.ALink)),
        VLink(EscapeAttribute(s.VLink)) {}
  std::string CBG, CBorder, CText1, CText2, CLink, ALink, VLink;
};

void AppendTableHead(const Settings& s, const SafeColours& c, const Ranking& ranking, std::vector<PageLine>& out) {
  const std::string rank = std::to_string(s.TopCount);
  out.emplace_back(Sjis("<Caption><font color=\"") + c.CText1 + "\">" + rank + Sjis("位までの総DLファイル数：") +
                   std::to_string(ranking.top_total) + "</font></Caption>");
  out.emplace_back("<TABLE border=\"1\" cellpadding=\"5\" cellspacing=\"0\" bordercolor=\"" + c.CBorder +
                   "\" style=\"font-size:" + std::to_string(s.FontSize) + "%\">");
  out.emplace_back("<tr><td><font color=\"" + c.CText1 + Sjis("\">順位</font></td>"));
  if (s.Trend) out.emplace_back("<td><font color=\"" + c.CText1 + "\">" + RankChangeHeading(s) + "</font></td>");
  out.emplace_back("<td><font color=\"" + c.CText1 + Sjis("\">ファイル名</font></td>"));
  out.emplace_back("<td width=\"150\"><font color=\"" + c.CText1 + Sjis("\">DLゲージ</font></td>"));
  if (!s.Clients) {
    out.emplace_back("<td><font color=\"" + c.CText1 + Sjis("\">DL数</font></td></tr>"));
  } else {
    out.emplace_back("<td><font color=\"" + c.CText1 + Sjis("\">DL数</font></td>"));
    out.emplace_back("<td><font color=\"" + c.CText1 + Sjis("\">DL人数</font></td></tr>"));
  }
}

// The rows, best place first; the gauge follows them from 950 to 1000.
// Every place is visited, also those beyond the places shown, as the
// gauge counts them all.
void AppendRows(const Ranking& ranking, const Settings& settings, RunView& view, std::vector<PageLine>& out) {
  RankingRows rows(ranking, settings);
  const long long n = static_cast<long long>(ranking.Size());
  for (long long j = 0; j < n; ++j) {
    rows.Output(j, out);
    view.SetProgress(n == 1 ? 1000 : 950 + j * 50 / (n - 1));
  }
}

}  // namespace

std::vector<PageLine> ComposeReport(const LogLines& lines, const Settings& s, const Ranking& ranking, RunView& view) {
  const SafeColours c(s);
  std::vector<PageLine> out;
  const std::size_t shown = s.TopCount > 0 ? static_cast<std::size_t>(s.TopCount) : 0;
  out.reserve(20 + std::min(ranking.Size(), shown));
  out.emplace_back("<html>");
  out.emplace_back("<head><title>" + Period(lines, s, view) + Sjis("までのダウンロードランキング</title></head>"));
  out.emplace_back("<BODY bgcolor=\"" + c.CBG + "\" text=\"" + c.CText2 + "\" link=\"" + c.CLink + "\" alink=\"" +
                   c.ALink + "\" vlink=\"" + c.VLink + "\">");
  out.emplace_back("<center><BR><BR>");
  out.emplace_back("<font color=\"" + c.CText1 + "\" size=\"+1\"><b>" + Period(lines, s, view) + Sjis("までの<BR>"));
  out.emplace_back(Sjis("ファイルダウンロード数ランキング（TOP ") + std::to_string(s.TopCount) +
                   Sjis("）</b></font><BR><BR>"));
  out.emplace_back("<font color=\"" + c.CText1 + Sjis("\">※管理人の手動更新なので更新を押しても無駄です</font><br><br>"));

  if (ranking.Size() == 0) {
    out.emplace_back(Sjis("<b>該当するデータはありません。</b>"));
    view.SetProgress(1000);
  } else {
    AppendTableHead(s, c, ranking, out);
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

}  // namespace junmaru
