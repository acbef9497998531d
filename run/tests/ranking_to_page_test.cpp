#include "ranking_to_page.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "cp932.h"
#include "download_log.h"
#include "error.h"
#include "recording_view.h"
#include "run_fixtures.h"
#include "temp_dir.h"

namespace junmaru {
namespace {

using testing::LogOf;
using testing::ReadBytes;
using testing::RecordingView;
using testing::RunFails;
using testing::TempDir;
using testing::WriteBytes;

const std::string kNoImage = "HTML出力先にゲージ用画像(gage.gif)がありませんので移動するか作るかしてください。";

Settings WholeLog(const LogLines& log) {
  Settings settings;
  settings.PStart = 1;
  settings.PEnd = static_cast<long long>(log.Count());
  settings.Link = false;
  return settings;
}

// Status texts, repaints and the message box, by number of entries.
TEST(RunRankingToPageTest, StatusSequence) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, int>> counts;
    std::vector<std::string> seen;
  };
  const std::vector<Case> cases = {
      {"NoEntries",
       {{"/a.gif", 2}},
       {"status ログ整理中...", "repaint", "status データ集計中...", "repaint", "status 出力完了！"}},
      {"OneEntry",
       {{"/a.zip", 2}},
       {"status ログ整理中...", "repaint", "status データ集計中...", "repaint", "status 出力完了！"}},
      {"TwoEntries",
       {{"/a.zip", 1}, {"/b.zip", 1}},
       {"status ログ整理中...", "repaint", "status データ集計中...", "repaint", "status HTMLファイルに出力中...",
        "repaint", "status 出力完了！"}},
  };
  for (const Case& c : cases) {
    TempDir folder;
    WriteBytes(folder.File("gage.gif"), "GIF89a");
    LogLines log = LogOf(c.counts);
    RecordingView view;
    RunRankingToPage(log, WholeLog(log), folder.File("ranking.html"), view);
    std::vector<std::string> seen;
    for (const std::string& e : view.events)
      if (e.rfind("status", 0) == 0 || e == "repaint" || e.rfind("message", 0) == 0) seen.push_back(e);
    EXPECT_EQ(seen, c.seen) << c.name;
    EXPECT_EQ(view.progress.back(), 1000) << c.name;
    EXPECT_TRUE(view.Only("colour").empty()) << c.name;
  }
}

TEST(RunRankingToPageTest, SavesTheComposedPageAndTwoRunsAreIdentical) {
  TempDir folder;
  LogLines log = LogOf({{"/a.zip", 3}, {"/b.lzh", 5}});
  RecordingView view;
  RunRankingToPage(log, WholeLog(log), folder.File("ranking.html"), view);
  const std::string first = ReadBytes(folder.File("ranking.html"));
  RunRankingToPage(log, WholeLog(log), folder.File("ranking.html"), view);
  EXPECT_EQ(ReadBytes(folder.File("ranking.html")), first);
  EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 20);
  EXPECT_EQ(first.substr(first.size() - 9), "</html>\r\n");
  // Nothing but the page is left in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(RunRankingToPageTest, ExportsHoldThePagesPlacesBesideIt) {
  TempDir folder;
  LogLines log = LogOf({{"/a.zip", 3}, {"/b.lzh", 5}, {"/c.zip", 3}, {"/d.gif", 9}});
  Settings settings = WholeLog(log);
  settings.TopCount = 10;
  RecordingView view;
  RunRankingToPage(log, settings, folder.File("ranking.html"), view,
                   {folder.File("ranking.csv"), folder.File("ranking.json"), CsvEncoding::kUtf8});
  EXPECT_EQ(ReadBytes(folder.File("ranking.csv")),
            "\xEF\xBB\xBF順位,パス,ファイル名,DL数\r\n1,/b.lzh,/b.lzh,5\r\n2,/c.zip,/c.zip,3\r\n2,/a.zip,/a.zip,3\r\n");
  const std::string json = ReadBytes(folder.File("ranking.json"));
  EXPECT_NE(json.find("\"top\":10,\"top_total\":11}"), std::string::npos) << json;
  EXPECT_NE(json.find("{\"rank\":2,\"path\":\"/a.zip\",\"name\":\"/a.zip\",\"count\":3}\n]}"), std::string::npos) << json;
  EXPECT_NE(ReadBytes(folder.File("ranking.html")).find("<tr><td>" + Sjis("2位") + "</td><td>/a.zip</td>"),
            std::string::npos);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 3);
  EXPECT_EQ(view.events.back(), "status 出力完了！");
}

TEST(RunRankingToPageTest, GaugeImageCheck) {
  struct Case {
    const char* name;
    bool file, folder;
    std::vector<std::string> messages;
  };
  for (const Case& c : {Case{"Present", true, false, {}}, Case{"Missing", false, false, {kNoImage}},
                        Case{"FolderDoesNotCount", false, true, {kNoImage}}}) {
    TempDir folder;
    if (c.file) WriteBytes(folder.File("gage.gif"), "GIF89a");
    if (c.folder) std::filesystem::create_directory(folder.File("gage.gif"));
    LogLines log = LogOf({{"/a.zip", 1}});
    RecordingView view;
    RunRankingToPage(log, WholeLog(log), folder.File("ranking.html"), view);
    std::vector<std::string> messages;
    for (const std::string& m : view.messages) messages.push_back(Cp932ToUtf8(m));
    EXPECT_EQ(messages, c.messages) << c.name;
    // The message comes before the last status text.
    EXPECT_EQ(view.events.back(), "status 出力完了！") << c.name;
  }
}

TEST(RunRankingToPageTest, RangeOutsideTheLogWritesNothing) {
  TempDir folder;
  LogLines log = LogOf({{"/a.zip", 3}});
  Settings settings = WholeLog(log);
  settings.PEnd = 4;
  RecordingView view;
  EXPECT_EQ(RunFails(log, settings, folder.File("ranking.html"), view), "リストのインデックスが範囲を超えています (3)");
  EXPECT_FALSE(std::filesystem::exists(folder.File("ranking.html")));
  EXPECT_TRUE(view.messages.empty());
}

TEST(RunRankingToPageTest, FolderThatIsAFileCannotBeCreated) {
  TempDir folder;
  WriteBytes(folder.File("plain"), "x");
  LogLines log = LogOf({{"/a.zip", 1}, {"/b.zip", 1}});
  RecordingView view;
  const std::string out = folder.File("plain/ranking.html");
  EXPECT_EQ(RunFails(log, WholeLog(log), out, view), "ファイル " + out + " を作成できません");
  // The run stops at the save: no image check, the status keeps its text, the gauge stays at 1000.
  EXPECT_TRUE(view.messages.empty());
  EXPECT_EQ(Cp932ToUtf8(view.status_text), "HTMLファイルに出力中...");
  EXPECT_EQ(view.progress.back(), 1000);
}

// Runs body in a child process without root's right to write anywhere,
// and returns what the child wrote to its pipe. As root, write permission
// is not checked, so the child drops to an unprivileged user first.
std::string InUnprivilegedChild(const std::function<std::string()>& body, bool& skipped) {
  int fds[2];
  if (::pipe(fds) != 0) return "pipe failed";
  pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    std::string result;
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
      result = "\x01skip";
    } else {
      result = body();
    }
    if (::write(fds[1], result.data(), result.size()) < 0) _exit(2);
    _exit(0);
  }
  ::close(fds[1]);
  std::string result;
  char buffer[4096];
  for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) result.append(buffer, static_cast<size_t>(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  skipped = result == "\x01skip";
  return result;
}

TEST(RunRankingToPageTest, ReadOnlyFolderKeepsTheOldPageAndGivesTheMessage) {
  TempDir folder;
  const std::string out = folder.File("ranking.html");
  WriteBytes(out, "old page");
  ::chmod(out.c_str(), 0444);
  ::chmod(folder.path().c_str(), 0555);
  LogLines log = LogOf({{"/a.zip", 1}});
  bool skipped = false;
  const std::string message = InUnprivilegedChild(
      [&] {
        RecordingView view;
        return RunFails(log, WholeLog(log), out, view);
      },
      skipped);
  ::chmod(folder.path().c_str(), 0755);
  if (skipped) GTEST_SKIP() << "running as root without the right to drop privileges";
  EXPECT_EQ(message, "ファイル " + out + " を作成できません");
  EXPECT_EQ(ReadBytes(out), "old page");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(RunRankingToPageTest, ShortWriteKeepsTheOldPageAndGivesTheMessage) {
  TempDir folder;
  const std::string out = folder.File("ranking.html");
  WriteBytes(out, "old page");
  LogLines log = LogOf({{"/a.zip", 1}});
  // A file size limit below the page's size makes the write fall short.
  struct rlimit saved;
  ::getrlimit(RLIMIT_FSIZE, &saved);
  struct rlimit small = saved;
  small.rlim_cur = 100;
  auto old_handler = ::signal(SIGXFSZ, SIG_IGN);
  ::setrlimit(RLIMIT_FSIZE, &small);
  RecordingView view;
  const std::string message = RunFails(log, WholeLog(log), out, view);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, old_handler);
  EXPECT_EQ(message, "ストリームへの書き込みエラー");
  EXPECT_EQ(ReadBytes(out), "old page");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

}  // namespace
}  // namespace junmaru
