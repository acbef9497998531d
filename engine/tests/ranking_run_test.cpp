#include "ranking_run.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "error.h"
#include "family_index.h"
#include "file_clients.h"
#include "recording_view.h"

namespace junmaru {
namespace {

using Calls = std::vector<std::string>;
using testing::FamilyIndex;
using testing::RecordingView;

std::string Download(const std::string& path) {
  return "192.0.2.1 - - [10/Oct/2004:13:55:36 +0900] \"GET " + path + " HTTP/1.1\" 200 10";
}

LogLines LogOf(const std::vector<std::string>& paths) {
  std::string bytes;
  for (const auto& p : paths) bytes += Download(p) + "\n";
  return LogLines::FromBytes(bytes);
}

RunSettings Range(long long first, long long last) {
  RunSettings settings;
  settings.PStart = first;
  settings.PEnd = last;
  settings.Families[FamilyIndex("CExe")] = false;
  return settings;
}

const Calls kRunStart = {"progress 0", "gauge running", "status ログ整理中...", "repaint"};

Calls Concat(std::initializer_list<Calls> parts) {
  Calls all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

TEST(RankingRun, ProgressAndStatusWhenNothingPasses) {
  const LogLines log = LogOf({"/a.jpg", "/b.gif", "/"});
  RecordingView view;
  Ranking ranking = RunRanking(log, Range(1, 3), view);
  EXPECT_EQ(ranking.Size(), 0u);
  EXPECT_EQ(ranking.top_total, 0);
  EXPECT_EQ(view.events, Concat({kRunStart, {"progress 0", "progress 300", "progress 600"},
                                {"status データ集計中...", "repaint", "progress 900"}}));
}

TEST(RankingRun, ProgressAndStatusForOneEntry) {
  const LogLines log = LogOf({"/a.zip", "/A.ZIP"});
  RecordingView view;
  Ranking ranking = RunRanking(log, Range(1, 2), view);
  ASSERT_EQ(ranking.Size(), 1u);
  EXPECT_EQ(ranking.Place(0).path, "/A.ZIP");
  EXPECT_EQ(ranking.top_total, 2);
  EXPECT_EQ(view.events, Concat({kRunStart, {"progress 0", "progress 450"},
                                {"status データ集計中...", "repaint", "progress 900"}}));
}

TEST(RankingRun, ProgressAndStatusForSeveralEntries) {
  const LogLines log = LogOf({"/a.zip", "/b.lzh", "/c.exe", "/b.lzh"});
  RecordingView view;
  RunRanking(log, Range(1, 4), view);
  EXPECT_EQ(view.events, Concat({kRunStart, {"progress 0", "progress 225", "progress 450", "progress 675"},
                                {"status データ集計中...", "repaint", "progress 900", "progress 925", "progress 950"},
                                {"status HTMLファイルに出力中...", "repaint"}}));
}

TEST(RankingRun, RangeAfterLineOneScansOnlyItsLines) {
  std::vector<std::string> paths;
  for (int i = 0; i < 1000; ++i) paths.push_back(i < 500 ? "/early.zip" : "/late.zip");
  const LogLines log = LogOf(paths);
  RecordingView view;
  Ranking ranking = RunRanking(log, Range(501, 1000), view);
  ASSERT_EQ(ranking.Size(), 1u);
  EXPECT_EQ(ranking.Place(0).path, "/late.zip");
  EXPECT_EQ(ranking.Place(0).count, 500);
  // 0 for the run start, then one value per scanned line, then 900.
  ASSERT_EQ(view.progress.size(), 1u + 500u + 1u);
  EXPECT_EQ(view.progress[1], 0);
  EXPECT_EQ(view.progress[500], 898) << "the scan ends at 499 * 900 / 500";
  EXPECT_EQ(view.progress.back(), 900);
}

TEST(RankingRun, OrdersByCountThenLaterPathFirstAndTotalsTopPlaces) {
  std::vector<std::string> paths;
  for (int i = 0; i < 3; ++i) paths.push_back("/a.zip");
  for (int i = 0; i < 12; ++i) paths.push_back("/b.lzh");
  for (int i = 0; i < 3; ++i) paths.push_back("/c.exe");
  const LogLines log = LogOf(paths);
  struct Case {
    long long rank;
    long long total;
  };
  for (const Case c : {Case{10, 18}, Case{3, 18}, Case{2, 15}, Case{1, 12}}) {
    RunSettings settings = Range(1, static_cast<long long>(paths.size()));
    settings.TopCount = c.rank;
    RecordingView view;
    Ranking ranking = RunRanking(log, settings, view);
    ASSERT_EQ(ranking.Size(), 3u);
    EXPECT_EQ(ranking.Place(0).path, "/b.lzh");
    EXPECT_EQ(ranking.Place(1).path, "/c.exe") << "equal counts: the later path takes the better place";
    EXPECT_EQ(ranking.Place(2).path, "/a.zip");
    EXPECT_EQ(ranking.top_total, c.total) << "TopCount " << c.rank;
  }
}

TEST(RankingRun, CountsBeyondFiveDigitsRankExactly) {
  std::string bytes;
  const std::string x = Download("/x.zip") + "\n", y = Download("/y.zip") + "\n";
  bytes.reserve((x.size() + y.size()) * 100001);
  for (int i = 0; i < 100001; ++i) bytes += x;
  for (int i = 0; i < 99999; ++i) bytes += y;
  const LogLines log = LogLines::FromBytes(std::move(bytes));
  RecordingView view;
  Ranking ranking = RunRanking(log, Range(1, static_cast<long long>(log.Count())), view);
  ASSERT_EQ(ranking.Size(), 2u);
  EXPECT_EQ(ranking.Place(0).path, "/x.zip");
  EXPECT_EQ(ranking.Place(0).count, 100001);
  EXPECT_EQ(ranking.Place(1).count, 99999);
  EXPECT_EQ(ranking.top_total, 200000);
}

TEST(RankingRun, RangeBeyondTheLogStopsWithTheIndexError) {
  const LogLines log = LogOf({"/a.zip", "/b.zip"});
  RecordingView view;
  try {
    RunRanking(log, Range(1, 3), view);
    FAIL() << "the run read a line the log does not have";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), Sjis("リストのインデックスが範囲を超えています (2)"));
  }
  EXPECT_EQ(view.Only("status").back(), "status ログ整理中...") << "the status keeps the scan's text";
}

// The count leads the order and compares as a number: 100 ranks above 10
// and 9, although its path sorts first and its digits sort first as text.
TEST(RankingRun, TheCountLeadsTheOrderAsANumber) {
  std::vector<std::string> paths;
  for (const auto& [path, count] : {std::pair<std::string, int>{"/a.zip", 100}, {"/b.zip", 10}, {"/c.zip", 9}})
    for (int i = 0; i < count; ++i) paths.push_back(path);
  const LogLines log = LogOf(paths);
  RecordingView view;
  const Ranking ranking = RunRanking(log, Range(1, static_cast<long long>(paths.size())), view);
  ASSERT_EQ(ranking.Size(), 3u);
  EXPECT_EQ(ranking.Place(0).path, "/a.zip");
  EXPECT_EQ(ranking.Place(1).path, "/b.zip");
  EXPECT_EQ(ranking.Place(2).path, "/c.zip");
}

// The previous period's lines are counted by the same rules (here an
// exclusion word and an extension family) in the same scan, the gauge going
// once over both; a file those rules drop is new whatever it did before.
TEST(RankingRun, PreviousPeriodCountedByTheSameRules) {
  const LogLines log = LogOf({"/b.zip", "/b.zip", "/a.zip", "/skip.zip", "/skip.zip", "/skip.zip", "/c.exe",
                              "/a.zip", "/b.zip", "/skip.zip", "/c.exe"});
  RunSettings settings = Range(8, 11);
  settings.KinsiWord = {"skip"};
  settings.Families[FamilyIndex("CExe")] = true;
  settings.Trend = true;
  auto previous = std::make_shared<PreviousPeriod>();
  previous->lines.spans = {{0, 2}, {3, 6}};
  previous->lines.count = 7;
  settings.Previous = previous;
  RecordingView view;
  const Ranking ranking = RunRanking(log, settings, view);
  ASSERT_EQ(ranking.Size(), 2u);
  EXPECT_EQ(ranking.Place(0).path, "/b.zip");
  EXPECT_EQ(ranking.previous_ranks, (std::vector<std::int64_t>{1, 2}));  // b had 2, a 1
  ASSERT_EQ(view.progress.size(), 1u + 11u + 2u);
  EXPECT_EQ(view.progress[11], 10 * 900 / 11);
}

// A download by a client (address and user agent; none without the field).
std::string Fetch(const std::string& address, const char* agent, const std::string& path, int day = 10) {
  std::string line = address + " - - [" + std::to_string(day) + "/Oct/2004:13:55:36 +0900] \"GET " + path +
                     " HTTP/1.1\" 200 10";
  return agent ? line + " \"-\" \"" + agent + "\"" : line;
}

// Many downloads are counted in two parts at once, split between places:
// each place's count is still that of its own distinct clients.
TEST(FileClients, ManyDownloadsCountAsFewDo) {
  FileClients downloads;
  std::map<std::uint32_t, std::set<std::uint64_t>> distinct;
  std::uint64_t state = 12345;
  const auto next = [&state] { return state = state * 6364136223846793005ull + 1442695040888963407ull, state >> 33; };
  for (int i = 0; i < 600000; ++i) {
    // File 3 takes half of the downloads, so the split falls just after it.
    const std::uint32_t file = i % 2 == 0 ? 3 : static_cast<std::uint32_t>(next() % 40);
    const ClientKey client{static_cast<std::uint32_t>(next() % 5000), static_cast<std::uint32_t>(next() % 3)};
    downloads.Add(client, file);
    distinct[file].insert(std::uint64_t{client.address} << 32 | client.agent);
  }
  const std::vector<std::uint32_t> places = {3, 17, 0, 39, 41, 5, 22};  // 41: a file without downloads
  const std::vector<std::int64_t> counts = downloads.Count(places);
  ASSERT_EQ(counts.size(), places.size());
  for (std::size_t j = 0; j < places.size(); ++j)
    EXPECT_EQ(counts[j], static_cast<std::int64_t>(distinct[places[j]].size())) << "file " << places[j];
}

// Each place's downloaders: the distinct clients of the downloads that
// count, in the places' order.
TEST(RankingRun, DownloadersAreTheDistinctClientsOfWhatCounts) {
  struct Place {
    std::string path;
    std::int64_t count, clients;
  };
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    bool once_per_client;
    std::vector<Place> places;  // best first
  };
  for (const Case& c : std::vector<Case>{
           {"SameClientTwice", {Fetch("192.0.2.1", "A", "/a.zip"), Fetch("192.0.2.1", "A", "/a.zip")}, false,
            {{"/a.zip", 2, 1}}},
           {"AgentOrAddressMakesAnother",
            {Fetch("192.0.2.1", "A", "/a.zip"), Fetch("192.0.2.1", "B", "/a.zip"), Fetch("192.0.2.2", "A", "/a.zip"),
             Fetch("192.0.2.2", nullptr, "/a.zip"), Fetch("2001:db8::1", nullptr, "/a.zip")},
            false, {{"/a.zip", 5, 5}}},
           {"LetterCaseIsOneFile", {Fetch("192.0.2.1", "A", "/a.zip"), Fetch("192.0.2.1", "A", "/A.ZIP")}, false,
            {{"/A.ZIP", 2, 1}}},
           // Places in ranking order, whatever order the files were met in.
           {"TiedPlacesKeepTheirOwn",
            {Fetch("192.0.2.1", "A", "/a.zip"), Fetch("192.0.2.1", "A", "/a.zip"), Fetch("192.0.2.1", "A", "/c.zip"),
             Fetch("192.0.2.1", "A", "/b.zip"), Fetch("192.0.2.2", "A", "/b.zip")},
            false, {{"/b.zip", 2, 2}, {"/a.zip", 2, 1}, {"/c.zip", 1, 1}}},
           {"OncePerClientADayStillOneDownloader",
            {Fetch("192.0.2.1", "A", "/a.zip", 10), Fetch("192.0.2.1", "A", "/a.zip", 10),
             Fetch("192.0.2.1", "A", "/a.zip", 11)},
            true, {{"/a.zip", 2, 1}}},
           {"DroppedLinesAreNoDownloaders", {Fetch("192.0.2.1", "A", "/a.zip"), Fetch("192.0.2.2", "A", "/a.jpg")},
            false, {{"/a.zip", 1, 1}}},
       }) {
    std::string bytes;
    for (const std::string& line : c.lines) bytes += line + "\n";
    const LogLines log = LogLines::FromBytes(bytes);
    RunSettings settings = Range(1, static_cast<long long>(c.lines.size()));
    settings.Clients = true;
    settings.OncePerClient = c.once_per_client;
    RecordingView view;
    const Ranking ranking = RunRanking(log, settings, view);
    ASSERT_EQ(ranking.Size(), c.places.size()) << c.name;
    ASSERT_EQ(ranking.clients.size(), c.places.size()) << c.name;
    for (std::size_t j = 0; j < c.places.size(); ++j) {
      EXPECT_EQ(ranking.Place(j).path, c.places[j].path) << c.name;
      EXPECT_EQ(ranking.Place(j).count, c.places[j].count) << c.name;
      EXPECT_EQ(ranking.clients[j], c.places[j].clients) << c.name << " place " << j;
    }
  }
}

}  // namespace
}  // namespace junmaru
