// Saving the page where it cannot be saved: a missing folder, a folder in
// its place, a full file system. The previous page must survive byte for
// byte, no temporary file may be left behind (on a full disk it would hold
// the space), and the message is the program's own.

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cp932.h"
#include "download_log.h"
#include "error.h"
#include "isolated_child.h"
#include "ranking_to_page.h"
#include "recording_view.h"
#include "report_document.h"
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

const std::string kOldPage = "<html>old page\r\n\x83\x65\x83\x58\x83\x67</html>\r\n";

std::string CannotCreate(const std::string& path) {
  return Sjis("ファイル ") + Utf8ToCp932(path) + Sjis(" を作成できません");
}

// The names in a folder, sorted and joined by spaces.
std::string Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  std::string out;
  for (const std::string& name : names) out += (out.empty() ? "" : " ") + name;
  return out;
}

// The save's message (empty when it succeeded).
std::string SaveMessage(const std::vector<PageLine>& lines, const std::string& out) {
  try {
    SaveReport(lines, out);
  } catch (const Error& e) {
    return e.what();
  }
  return {};
}

// A page of about the given size.
std::vector<PageLine> PageOf(std::size_t bytes) {
  std::vector<PageLine> lines;
  for (std::size_t size = 0; size < bytes; size += 100) lines.push_back(std::string(98, 'x'));
  return lines;
}

TEST(SaveFaults, OutputThatCannotBeCreatedGivesTheMessageAndLeavesNothing) {
  TempDir folder;
  WriteBytes(folder.File("ranking.html"), kOldPage);
  std::filesystem::create_directory(folder.File("page.html"));
  struct Case {
    const char* name;
    std::string out;
  };
  for (const Case& c : std::vector<Case>{
           {"FolderMissing", folder.File("missing/ranking.html")},
           {"FolderMissingTwoDeep", folder.File("missing/deeper/ranking.html")},
           {"OutputIsAFolder", folder.File("page.html")},
       }) {
    EXPECT_EQ(SaveMessage(PageOf(1000), c.out), CannotCreate(c.out)) << c.name;
    EXPECT_EQ(Entries(folder.path()), "page.html ranking.html") << c.name;
    EXPECT_EQ(ReadBytes(folder.File("ranking.html")), kOldPage) << c.name;
  }
}

// A page named with as many bytes as a file name may hold is still a page
// that can be saved; the temporary file beside it must not need more.
TEST(SaveFaults, PageWithTheLongestFileNameIsSaved) {
  TempDir folder;
  const std::string out = folder.File(std::string(250, 'r') + ".html");
  WriteBytes(out, kOldPage);
  EXPECT_EQ(SaveMessage({std::string("<html>"), std::string("</html>")}, out), "");
  EXPECT_EQ(ReadBytes(out), "<html>\r\n</html>\r\n");
  EXPECT_EQ(Entries(folder.path()), std::string(250, 'r') + ".html");
}

// Fills the file system that holds folder until nothing more fits.
void FillUp(const std::string& folder) {
  const int fd = ::open((folder + "/filler").c_str(), O_WRONLY | O_CREAT, 0644);
  const std::string block(4096, 'f');
  while (::write(fd, block.data(), block.size()) > 0) {
  }
  while (::write(fd, block.data(), 1) > 0) {
  }
  ::close(fd);
}

// On a 64 KB file system: a page that does not fit, and any page on a disk
// already full. Mounting needs root and a private mount namespace; where
// neither is to be had, a file size limit makes the write fall short alike.
TEST(SaveFaults, FullFileSystemKeepsTheOldPageByteForByte) {
  for (bool full_before : {false, true}) {
    TempDir folder;
    const std::string out = folder.File("ranking.html");
    auto outcome = testing::InChild([&]() -> std::string {
      std::string how = "tmpfs";
      if (!testing::MountSmallTmpfs(folder.path(), "64k")) {
        if (!testing::LimitFileSize(32 << 10)) return "no way to fill a disk";
        how = "limit";
      }
      WriteBytes(out, kOldPage);
      if (full_before && how == "tmpfs") FillUp(folder.path());
      const std::string message = SaveMessage(PageOf(full_before ? 1000 : 200 << 10), out);
      return how + "|" + message + "|" + (ReadBytes(out) == kOldPage ? "intact" : "changed") + "|" +
             Entries(folder.path());
    });
    ASSERT_EQ(outcome.how, "") << full_before;
    if (outcome.text.rfind("limit|", 0) == 0 && full_before) continue;  // a limit cannot fill a disk
    const std::string expected_entries = full_before ? "filler ranking.html" : "ranking.html";
    EXPECT_EQ(outcome.text.substr(outcome.text.find('|') + 1),
              Sjis("ストリームへの書き込みエラー") + "|intact|" + expected_entries)
        << full_before;
  }
}

// The whole run on a full disk stops at the save as on any failed save:
// no image check, no "出力完了！", and the gauge stays at its end.
TEST(SaveFaults, RunOnAFullFileSystemStopsAtTheSave) {
  TempDir folder;
  const std::string out = folder.File("ranking.html");
  auto outcome = testing::InChild([&]() -> std::string {
    if (!testing::MountSmallTmpfs(folder.path(), "64k") && !testing::LimitFileSize(32 << 10))
      return "no way to fill a disk";
    WriteBytes(out, kOldPage);
    std::vector<std::pair<std::string, int>> counts;
    for (int i = 0; i < 2000; ++i) counts.push_back({"/dl/file" + std::to_string(i) + ".zip", 1 + i % 7});
    const LogLines log = LogOf(counts);
    Settings settings;
    settings.Link = false;
    settings.PStart = 1;
    settings.PEnd = static_cast<long long>(log.Count());
    settings.TopCount = 10000;
    RecordingView view;
    const std::string message = RunFails(log, settings, out, view);
    return message + "|" + Cp932ToUtf8(view.status_text) + "|" + std::to_string(view.progress.back()) + "|" +
           std::to_string(view.messages.size()) + "|" + (ReadBytes(out) == kOldPage ? "intact" : "changed");
  });
  ASSERT_EQ(outcome.how, "");
  EXPECT_EQ(outcome.text, "ストリームへの書き込みエラー|HTMLファイルに出力中...|1000|0|intact");
}

// The loaded log, under its own name or any other that reaches it, is
// never the page: the run is refused before it starts, and the log stays.
TEST(SaveFaults, PageThatIsTheLoadedLogIsRefusedBeforeAnythingIsWritten) {
  TempDir folder;
  const std::string text = testing::LogLine("/dl/a.zip") + "\r\n" + testing::LogLine("/dl/b.zip") + "\r\n";
  const std::string log_path = folder.Write("access.log", text);
  std::filesystem::create_directory(folder.File("site"));
  std::filesystem::create_symlink("../access.log", folder.File("site/link.html"));
  std::filesystem::create_symlink("link.html", folder.File("site/chain.html"));
  ASSERT_EQ(::link(log_path.c_str(), folder.File("site/hard.html").c_str()), 0);
  LogLines log;
  log.LoadFromFile(log_path);
  Settings settings;
  settings.Link = false;
  settings.PStart = 1;
  settings.PEnd = 2;
  for (const std::string& out : {log_path, folder.File("site/../access.log"), folder.File("site/link.html"),
                                 folder.File("site/chain.html"), folder.File("site/hard.html")}) {
    RecordingView view;
    EXPECT_EQ(RunFails(log, settings, out, view), "ファイル " + out + " は読み込んだログなので出力先にできません");
    EXPECT_TRUE(view.events.empty()) << out;
    EXPECT_EQ(ReadBytes(log_path), text) << out;
    EXPECT_EQ(log.Count(), 2u);
  }
  EXPECT_EQ(Entries(folder.path()), "access.log site");
  EXPECT_EQ(Entries(folder.File("site")), "chain.html hard.html link.html");
}

// Exports whose targets cannot all be written: the run is refused before
// it starts, and neither the page nor any other file changes.
TEST(SaveFaults, ExportTargetsThatCannotBeWrittenAreRefusedBeforeAnything) {
  TempDir folder;
  const std::string text = testing::LogLine("/dl/a.zip") + "\r\n" + testing::LogLine("/dl/b.zip") + "\r\n";
  const std::string log_path = folder.Write("access.log", text);
  const std::string page = folder.Write("ranking.html", kOldPage);
  const std::string csv = folder.Write("old.csv", "old csv");
  std::filesystem::create_symlink("access.log", folder.File("log-link.json"));
  std::filesystem::create_symlink("ranking.html", folder.File("page-link.csv"));
  std::filesystem::create_directory(folder.File("folder.json"));
  LogLines log;
  log.LoadFromFile(log_path);
  Settings settings;
  settings.PStart = 1;
  settings.PEnd = 2;
  struct Case {
    const char* name;
    RankingExports exports;
    std::string message;
  };
  const auto is_the_log = [](const std::string& path) { return "ファイル " + path + " は読み込んだログなので出力先にできません"; };
  const auto twice = [](const std::string& path) { return "ファイル " + path + " に二つの出力を書くことはできません"; };
  const std::vector<Case> cases = {
      {"CsvIsTheLog", {log_path, ""}, is_the_log(log_path)},
      {"JsonIsALinkToTheLog", {csv, folder.File("log-link.json")}, is_the_log(folder.File("log-link.json"))},
      {"CsvIsThePage", {page, ""}, twice(page)},
      {"CsvIsALinkToThePage", {folder.File("page-link.csv"), ""}, twice(folder.File("page-link.csv"))},
      {"JsonIsTheCsv", {csv, csv}, twice(csv)},
      {"JsonIsADevice", {csv, "/dev/null"}, Cp932ToUtf8(CannotCreate("/dev/null"))},
      {"JsonIsAFolder", {csv, folder.File("folder.json")}, Cp932ToUtf8(CannotCreate(folder.File("folder.json")))},
  };
  for (const Case& c : cases) {
    RecordingView view;
    EXPECT_EQ(RunFails(log, settings, page, view, c.exports), c.message) << c.name;
    EXPECT_TRUE(view.events.empty()) << c.name;
    EXPECT_EQ(ReadBytes(log_path), text) << c.name;
    EXPECT_EQ(ReadBytes(page), kOldPage) << c.name;
    EXPECT_EQ(ReadBytes(csv), "old csv") << c.name;
    EXPECT_EQ(Entries(folder.path()), "access.log folder.json log-link.json old.csv page-link.csv ranking.html")
        << c.name;
  }
}

// A mapped log cut short by another program after loading: the run reads
// the vanished pages as NUL bytes without a crash, and then refuses to
// write a page from them, naming the log; no page is written.
TEST(SaveFaults, MappedLogTruncatedBeforeTheRunFailsNamingIt) {
  TempDir folder;
  std::string text;
  for (int i = 0; text.size() < (std::size_t{3} << 20); ++i)
    text += testing::LogLine("/dl/file" + std::to_string(i % 500) + ".zip") + "\r\n";
  WriteBytes(folder.File("access.log"), text);
  LogLines log;
  log.LoadFromFile(folder.File("access.log"));
  ASSERT_EQ(::truncate((folder.File("access.log")).c_str(), 1 << 20), 0);
  Settings settings;
  settings.Link = false;
  settings.PStart = 1;
  settings.PEnd = static_cast<long long>(log.Count());
  RecordingView view;
  EXPECT_EQ(testing::RunFails(log, settings, folder.File("ranking.html"), view),
            "ファイル " + folder.File("access.log") + " は読み込み中に短くなったか入れ替わりました");
  EXPECT_EQ(Entries(folder.path()), "access.log");
}

}  // namespace
}  // namespace junmaru
