#include "report_document.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "cp932.h"
#include "html_escape.h"
#include "ranking_rows.h"
#include "byte_sink.h"
#include "download_log.h"
#include "recording_view.h"

namespace junmaru {
namespace {

using testing::LogLine;
using testing::LogOf;
using testing::RecordingView;

const char* const kDate = "2004年10月10日 13時55分36秒";

// The page's file, as WriteReport writes it.
std::string PageBytes(const std::vector<PageLine>& lines) {
  std::string bytes;
  StringSink sink(bytes);
  WriteReport(lines, sink);
  return bytes;
}

std::string Utf8Page(const std::vector<PageLine>& lines) { return Cp932ToUtf8(PageBytes(lines)); }

// The page's settings at their defaults, names without links.
Settings Unlinked() {
  Settings settings;
  settings.Link = false;
  return settings;
}

struct Composed {
  std::vector<PageLine> lines;
  RecordingView view;
};

Composed Compose(const LogLines& log, Settings settings) {
  Composed c;
  settings.PEnd = static_cast<long long>(log.Count());
  const Ranking ranking = RunRanking(log, settings, c.view);
  c.view.events.clear();
  // The rows point into the log, which may be a temporary: keep each line's bytes.
  for (const PageLine& line : ComposeReport(log, settings, ranking, c.view)) c.lines.emplace_back(line.Bytes());
  return c;
}

TEST(ComposeReportTest, NoDataPageIsTwelveLinesExactly) {
  LogLines log = LogLines::FromBytes(LogLine("/a.html") + "\n" + LogLine("/b.gif") + "\n");
  Composed c = Compose(log, Unlinked());
  ASSERT_EQ(c.lines.size(), 12u);
  const std::string d = kDate;
  EXPECT_EQ(Utf8Page(c.lines),
            "<html>\r\n"
            "<head><title>" + d + "～" + d + "までのダウンロードランキング</title></head>\r\n"
            "<BODY bgcolor=\"#000055\" text=\"#88F0AA\" link=\"#33CCCC\" alink=\"#669966\" vlink=\"#CC3366\">\r\n"
            "<center><BR><BR>\r\n"
            "<font color=\"#FFFFFF\" size=\"+1\"><b>" + d + "～" + d + "までの<BR>\r\n"
            "ファイルダウンロード数ランキング（TOP 100）</b></font><BR><BR>\r\n"
            "<font color=\"#FFFFFF\">※管理人の手動更新なので更新を押しても無駄です</font><br><br>\r\n"
            "<b>該当するデータはありません。</b>\r\n"
            "</center><BR><BR>\r\n"
            "<Div align=\"right\"><font size=\"-1\">ランキング生成 by 順位丸</font></div>\r\n"
            "</body>\r\n"
            "</html>\r\n");
}

TEST(ComposeReportTest, PageWithEntriesHasCaptionTableHeadRowsAndTableEnd) {
  Settings settings;
  settings.TopCount = 10;
  settings.Link = false;
  settings.CBorder = "";  // an empty colour is written as an empty attribute
  settings.FontSize = 120;
  Composed c = Compose(LogOf({{"/b.lzh", 12}, {"/a.zip", 3}, {"/c.exe.zip", 3}}), settings);
  ASSERT_EQ(c.lines.size(), 21u);
  const std::string page = Utf8Page(c.lines);
  const std::string expected_middle =
      "<font color=\"#FFFFFF\">※管理人の手動更新なので更新を押しても無駄です</font><br><br>\r\n"
      "<Caption><font color=\"#FFFFFF\">10位までの総DLファイル数：18</font></Caption>\r\n"
      "<TABLE border=\"1\" cellpadding=\"5\" cellspacing=\"0\" bordercolor=\"\" style=\"font-size:120%\">\r\n"
      "<tr><td><font color=\"#FFFFFF\">順位</font></td>\r\n"
      "<td><font color=\"#FFFFFF\">ファイル名</font></td>\r\n"
      "<td width=\"150\"><font color=\"#FFFFFF\">DLゲージ</font></td>\r\n"
      "<td><font color=\"#FFFFFF\">DL数</font></td></tr>\r\n"
      "<tr><td>1位</td><td>/b.lzh</td><td><img src=\"gage.gif\" alt=\"DLゲージ\" width=\"400\" "
      "height=\"10\"></td><td>12</td></tr>\r\n"
      "<tr><td>2位</td><td>/c.exe.zip</td><td><img src=\"gage.gif\" alt=\"DLゲージ\" width=\"100\" "
      "height=\"10\"></td><td>3</td></tr>\r\n"
      "<tr><td>2位</td><td>/a.zip</td><td><img src=\"gage.gif\" alt=\"DLゲージ\" width=\"100\" "
      "height=\"10\"></td><td>3</td></tr>\r\n"
      "</TABLE>\r\n"
      "</center><BR><BR>\r\n";
  EXPECT_NE(page.find(expected_middle), std::string::npos) << page;
  EXPECT_NE(page.find("ランキング（TOP 10）"), std::string::npos);
}

// The rank changes' column follows the rank, the downloaders' the count;
// the rank changes' heading says when the logs fall short of the previous
// period.
TEST(ComposeReportTest, TableHeadWithTheNewColumns) {
  struct Case {
    const char* name;
    bool trend, clients;
    std::optional<bool> previous_complete;  // none: no previous period known
    std::string head;
  };
  const std::string rank = "<tr><td><font color=\"#FFFFFF\">順位</font></td>\r\n";
  const std::string name_and_gauge =
      "<td><font color=\"#FFFFFF\">ファイル名</font></td>\r\n"
      "<td width=\"150\"><font color=\"#FFFFFF\">DLゲージ</font></td>\r\n";
  const std::string count = "<td><font color=\"#FFFFFF\">DL数</font></td>";
  const std::string trend = "<td><font color=\"#FFFFFF\">前回</font></td>\r\n";
  const std::string short_trend = "<td><font color=\"#FFFFFF\">前回（データ不足）</font></td>\r\n";
  const std::string clients = "\r\n<td><font color=\"#FFFFFF\">DL人数</font></td>";
  for (const Case& c : std::vector<Case>{
           {"Neither", false, false, std::nullopt, rank + name_and_gauge + count + "</tr>\r\n"},
           {"Trend", true, false, true, rank + trend + name_and_gauge + count + "</tr>\r\n"},
           {"TrendShort", true, false, false, rank + short_trend + name_and_gauge + count + "</tr>\r\n"},
           {"TrendUnknown", true, false, std::nullopt, rank + short_trend + name_and_gauge + count + "</tr>\r\n"},
           {"Clients", false, true, std::nullopt, rank + name_and_gauge + count + clients + "</tr>\r\n"},
           {"Both", true, true, true, rank + trend + name_and_gauge + count + clients + "</tr>\r\n"},
       }) {
    const LogLines log = LogOf({{"/a.zip", 1}});
    Settings settings = Unlinked();
    settings.PEnd = 1;
    settings.Trend = c.trend;
    settings.Clients = c.clients;
    if (c.previous_complete) {
      auto previous = std::make_shared<PreviousPeriod>();
      previous->complete = *c.previous_complete;
      settings.Previous = previous;
    }
    Ranking ranking;
    ranking.entries.push_back({1, "/a.zip"});
    ranking.top_total = 1;
    ranking.previous_ranks = {1};
    ranking.clients = {1};
    RecordingView view;
    std::vector<PageLine> lines = ComposeReport(log, settings, ranking, view);
    EXPECT_EQ(lines.size(), 19u + c.trend + c.clients) << c.name;
    const std::string page = Utf8Page(lines);
    EXPECT_NE(page.find(">\r\n" + c.head + "<tr><td>1位</td><td>"), std::string::npos) << c.name << "\n" << page;
  }
}

TEST(ComposeReportTest, CaptionTotalsOnlyThePlacesShown) {
  Settings settings = Unlinked();
  settings.TopCount = 2;
  Composed c = Compose(LogOf({{"/a.zip", 5}, {"/b.zip", 4}, {"/c.zip", 4}, {"/d.zip", 1}}), settings);
  EXPECT_EQ(c.lines.size(), 20u);
  EXPECT_NE(Utf8Page(c.lines).find("2位までの総DLファイル数：9<"), std::string::npos);
}

TEST(ComposeReportTest, LiteralBytesAreCodePage932) {
  Composed c = Compose(LogOf({{"/a.zip", 1}}), Unlinked());
  const std::string bytes = PageBytes(c.lines);
  // The date separator is 0x81 0x60; 位 is 0x88 0xCA; no byte-order mark; CR LF after the last line.
  EXPECT_NE(bytes.find("\x95\x62\x81\x60" "2004"), std::string::npos);
  EXPECT_NE(bytes.find("<tr><td>1\x88\xCA</td>"), std::string::npos);
  EXPECT_EQ(bytes.substr(0, 8), "<html>\r\n");
  EXPECT_EQ(bytes.substr(bytes.size() - 9), "</html>\r\n");
  EXPECT_EQ(bytes.find("\r\n\r\n"), std::string::npos);
}

TEST(ComposeReportTest, HostileDatesAreEscaped) {
  // The date fields are read at fixed offsets; these put markup into the day and the year.
  const std::string first = LogLine("/a.zip", "<b/Oct/\"&'>:13:55:36 +0900");
  const std::string last = LogLine("/a.zip", "10/Oct/2004:13:55:36 +0900");
  Composed c = Compose(LogLines::FromBytes(first + "\n" + last + "\n"), Unlinked());
  const std::string page = Utf8Page(c.lines);
  EXPECT_NE(page.find("<title>&quot;&amp;&#39;&gt;年10月&lt;b日 13時55分36秒～2004年"), std::string::npos) << page;
  EXPECT_EQ(page.find("<b日"), std::string::npos);
}

TEST(ComposeReportTest, BoundaryLineWithoutTimestampGivesEmptyDateAndTheFormatError) {
  LogLines log = LogLines::FromBytes(LogLine("/a.zip") + "\nno timestamp here\n");
  Composed c = Compose(log, Unlinked());
  EXPECT_NE(Utf8Page(c.lines).find("<title>" + std::string(kDate) + "～までの"), std::string::npos);
  EXPECT_TRUE(c.view.error_colour);
  EXPECT_EQ(c.view.status_text, Sjis("エラー　ログファイルの形式がおかしいです"));
}

// Gauge values set while the page is composed, by number of entries.
TEST(ComposeReportTest, GaugeRunsFrom950To1000OverEveryPlace) {
  struct Case {
    std::vector<std::pair<std::string, int>> counts;
    long long prank;
    std::vector<std::string> progress;
  };
  const std::vector<Case> cases = {
      {{}, 10, {"progress 1000"}},
      {{{"/a.zip", 1}}, 10, {"progress 1000"}},
      {{{"/a.zip", 1}, {"/b.zip", 2}}, 10, {"progress 950", "progress 1000"}},
      // Places beyond TopCount still move the gauge.
      {{{"/a.zip", 1}, {"/b.zip", 2}, {"/c.zip", 3}, {"/d.zip", 4}, {"/e.zip", 5}},
       1,
       {"progress 950", "progress 962", "progress 975", "progress 987", "progress 1000"}},
  };
  for (const Case& k : cases) {
    Settings settings = Unlinked();
    settings.TopCount = k.prank;
    LogLines log = k.counts.empty() ? LogLines::FromBytes(LogLine("/x.gif") + "\n" + LogLine("/x.gif") + "\n")
                                    : LogOf(k.counts);
    Composed c = Compose(log, settings);
    EXPECT_EQ(c.view.Only("progress"), k.progress) << k.counts.size();
    EXPECT_TRUE(c.view.Only("status").empty());
  }
}

}  // namespace
}  // namespace junmaru
