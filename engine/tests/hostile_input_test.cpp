// Logs written by strangers and files that change under the program: a
// 10 MB line, binary garbage, NUL bytes, broken code page 932 sequences, a
// log that vanishes or turns unreadable between two loads, and a mapped
// log cut short by another writer after it was loaded. None of them may
// crash or hang the program, and a failed load keeps the lines it had.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "cp932.h"
#include "error.h"
#include "isolated_child.h"
#include "log_lines.h"
#include "log_timestamp.h"
#include "ranking_run.h"
#include "recording_view.h"
#include "temp_dir.h"
#include "text_list.h"

namespace junmaru {
namespace {

using testing::RecordingView;
using testing::TempDir;

std::string Download(const std::string& path, const std::string& stamp = "10/Oct/2004:13:55:36 +0900") {
  return "192.0.2.1 - - [" + stamp + "] \"GET " + path + " HTTP/1.1\" 200 10";
}

RunSettings WholeLog(const LogLines& lines) {
  RunSettings settings;
  settings.PStart = 1;
  settings.PEnd = static_cast<long long>(lines.Count());
  return settings;
}

std::int64_t Total(const Ranking& ranking) {
  std::int64_t total = 0;
  for (const RankedEntry& e : ranking.entries) total += e.count;
  return total;
}

// The lines of a log as the loader gives them, and as the text list gives
// them: the two must agree on any bytes.
std::vector<std::string> Lines(const LogLines& log) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < log.Count(); ++i) out.emplace_back(log[i]);
  return out;
}

// Logs of at least 1 MB are mapped rather than read; every file case runs
// with both so that both loaders are covered.
std::string Padding(std::size_t bytes) {
  std::string out;
  while (out.size() < bytes) out += Download("/pad/filler.zip") + "\r\n";
  return out;
}

TEST(HostileLog, TenMegabyteLineIsOneLineAndItsPathCounts) {
  TempDir dir;
  const std::string long_path = "/dl/" + std::string(10 << 20, 'a') + ".zip";
  const std::string path = dir.Write("access.log", Download("/first.zip", "01/Jan/2005:00:00:01 +0900") + "\r\n" +
                                                       Download(long_path) + "\r\n" +
                                                       Download("/last.zip", "31/Dec/2005:23:59:59 +0900") + "\r\n");
  LogLines log;
  log.LoadFromFile(path);
  ASSERT_EQ(log.Count(), 3u);
  EXPECT_EQ(log[1], Download(long_path));

  RecordingView view;
  EXPECT_EQ(Cp932ToUtf8(Date(log, 1, view)), "2004年10月10日 13時55分36秒");
  Ranking ranking = RunRanking(log, WholeLog(log), view);
  ASSERT_EQ(ranking.Size(), 3u);
  EXPECT_EQ(Total(ranking), 3);
  bool found = false;
  for (const RankedEntry& e : ranking.entries) found = found || e.path == long_path;
  EXPECT_TRUE(found);

  TextList list;
  list.LoadFromFile(path);
  EXPECT_EQ(list.Items(), Lines(log));
}

// Lines built to make a careless search go quadratic: every quote could
// start the GET marker, every "[" a timestamp, and a long exclusion word
// almost matches everywhere. Each must finish in linear time.
TEST(HostileLog, TenMegabyteLinesOfNearMatchesFinishQuickly) {
  const std::size_t size = 10 << 20;
  std::string quotes;
  while (quotes.size() < size) quotes += "\"GE\"GET\"HTTP/1.\"";
  std::string brackets(size, '[');
  std::string near_word(size, 'a');
  near_word += ".zip";
  const std::string text = quotes + "\n" + brackets + "\n\"GET /" + near_word + " HTTP/1.1\"\n";
  const LogLines log = LogLines::FromBytes(text);
  ASSERT_EQ(log.Count(), 3u);

  RunSettings settings = WholeLog(log);
  settings.KinsiWord = {std::string(4096, 'a') + "b", std::string(4096, 'a') + "b" + std::string(4096, 'a')};
  RecordingView view;
  const auto start = std::chrono::steady_clock::now();
  Ranking ranking = RunRanking(log, settings, view);
  for (long long i = 0; i < 3; ++i) Date(log, i, view);
  const auto seconds =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 30) << "quadratic search on a long line";
  ASSERT_EQ(ranking.Size(), 1u);
  EXPECT_EQ(ranking.Place(0).path.size(), near_word.size() + 1);
}

TEST(HostileLog, BinaryGarbageLoadsRunsAndAgreesWithTheTextList) {
  TempDir dir;
  std::mt19937 random(7);
  for (std::size_t size : {std::size_t{64} << 10, std::size_t{3} << 20}) {
    std::string garbage(size, '\0');
    for (char& c : garbage) c = static_cast<char>(random() % 255 + 1);  // NUL comes in the next test
    // Real requests scattered through the garbage must still be found.
    const std::string request = "\n" + Download("/in/garbage.zip") + "\n";
    std::int64_t planted_count = 0;
    for (std::size_t at = 1000; at + request.size() < garbage.size(); at += 40000, ++planted_count)
      garbage.replace(at, request.size(), request);
    const std::string path = dir.Write("garbage.log", garbage);

    LogLines log;
    log.LoadFromFile(path);
    TextList list;
    list.LoadFromFile(path);
    ASSERT_EQ(Lines(log), list.Items()) << size;
    ASSERT_GT(log.Count(), 0u);

    RecordingView view;
    for (std::size_t i = 0; i < log.Count(); ++i) Date(log, static_cast<long long>(i), view);
    RunSettings settings = WholeLog(log);
    settings.Families.fill(false);
    Ranking ranking = RunRanking(log, settings, view);
    std::int64_t planted = 0;
    for (const RankedEntry& e : ranking.entries)
      if (e.path == "/in/garbage.zip") planted = e.count;
    EXPECT_EQ(planted, planted_count) << size;
  }
}

// A NUL byte ends the text, wherever it stands, in both loaders.
TEST(HostileLog, NulByteEndsTheLog) {
  TempDir dir;
  const std::string a = Download("/a.zip"), b = Download("/b.zip");
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
  };
  const std::string big = Padding(1 << 20);
  const std::vector<std::string> big_lines = TextList::SplitText(big);
  std::vector<std::string> big_then_a = big_lines;
  big_then_a.push_back(a);
  for (const Case& c : std::vector<Case>{
           {"NulFirst", std::string("\0", 1) + a + "\r\n", {}},
           {"NulInsideALine", a + std::string("\0", 1) + "tail\r\n" + b + "\r\n", {a}},
           {"NulAfterABreak", a + "\r\n" + std::string("\0", 1) + b + "\r\n", {a}},
           {"NulBetweenCrAndLf", a + "\r" + std::string("\0", 1) + "\n" + b, {a}},
           {"NulsOnly", std::string(4096, '\0'), {}},
           {"NulPastOneMegabyte", big + a + std::string("\0\0", 2) + b + "\r\n", big_then_a},
       }) {
    const std::string path = dir.Write("nul.log", c.bytes);
    LogLines log;
    log.LoadFromFile(path);
    EXPECT_EQ(Lines(log), c.lines) << c.name;
    TextList list;
    list.LoadFromFile(path);
    EXPECT_EQ(list.Items(), c.lines) << c.name;
  }
}

// Lead bytes of double-byte characters with no trail byte after them, and
// bytes that are no character at all. Lines still end at CR and LF, which
// are never trail bytes, and paths keep the bytes as they are.
TEST(HostileLog, BrokenDoubleByteSequencesKeepLinesAndPathsIntact) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
    std::vector<std::string> counted;  // paths, best place first
  };
  const std::string lone_lead_end = Download("/a.zip") + " \x83";
  for (const Case& c : std::vector<Case>{
           {"LeadByteBeforeCrLf", lone_lead_end + "\r\n" + Download("/b.zip") + "\r\n",
            {lone_lead_end, Download("/b.zip")}, {"/a.zip", "/b.zip"}},
           {"LeadByteBeforeLoneCr", lone_lead_end + "\r" + Download("/b.zip"),
            {lone_lead_end, Download("/b.zip")}, {"/a.zip", "/b.zip"}},
           {"LeadByteBeforeLoneLf", lone_lead_end + "\n\n", {lone_lead_end, ""}, {"/a.zip"}},
           {"LeadByteAtTheVeryEnd", Download("/a.zip") + "\r\n\x9F", {Download("/a.zip"), "\x9F"}, {"/a.zip"}},
           {"LeadByteEndsThePath", Download("/dl/x.zi\xE0") + "\r\n", {Download("/dl/x.zi\xE0")}, {"/dl/x.zi\xE0"}},
           {"LeadByteBeforeTheGetQuote", "\xFC\"GET /a.zip HTTP/1.1\"\r\n", {"\xFC\"GET /a.zip HTTP/1.1\""},
            {"/a.zip"}},
           {"LeadByteBeforeTheMarker", "\"GET /a.zip\x81HTTP/1.1\"\r\n", {"\"GET /a.zip\x81HTTP/1.1\""},
            {"/a.zip"}},
           {"BytesThatAreNoCharacter", Download("/\x80\xA0\xFD\xFE\xFF.zip") + "\r\n",
            {Download("/\x80\xA0\xFD\xFE\xFF.zip")}, {"/\x80\xA0\xFD\xFE\xFF.zip"}},
           {"LeadBytesInsideTheTimestamp", "[\x83\x83/\x83\x83\x83/\x83\x83\x83\x83:\x83\r\n",
            {"[\x83\x83/\x83\x83\x83/\x83\x83\x83\x83:\x83"}, {}},
       }) {
    const LogLines log = LogLines::FromBytes(c.bytes);
    EXPECT_EQ(Lines(log), c.lines) << c.name;
    EXPECT_EQ(TextList::SplitText(c.bytes), c.lines) << c.name;
    RecordingView view;
    for (std::size_t i = 0; i < log.Count(); ++i) Date(log, static_cast<long long>(i), view);
    Ranking ranking = RunRanking(log, WholeLog(log), view);
    std::vector<std::string> counted;
    for (std::size_t j = 0; j < ranking.Size(); ++j) counted.emplace_back(ranking.Place(j).path);
    std::sort(counted.begin(), counted.end());
    EXPECT_EQ(counted, c.counted) << c.name;
  }
}

// A trail byte is never case-folded, but a lead byte with no trail byte
// after it does not protect the ASCII letter that follows from folding.
TEST(HostileLog, LoneLeadByteDoesNotSwallowTheNextCharacterWhenPathsAreCompared) {
  const LogLines log = LogLines::FromBytes(Download("/\x83.zip") + "\n" + Download("/\x83.ZIP") + "\n" +
                                           Download("/\x83Zz.zip") + "\n" + Download("/\x83zz.zip") + "\n");
  RecordingView view;
  Ranking ranking = RunRanking(log, WholeLog(log), view);
  ASSERT_EQ(ranking.Size(), 3u);
  EXPECT_EQ(ranking.Place(0).path, "/\x83.ZIP");
  EXPECT_EQ(ranking.Place(0).count, 2);
}

// Ways a log that loaded once can fail to load the next time.
enum class Spoil { kRemoved, kReplacedByFolder, kLockedByWriter };

void SpoilLog(const std::string& path, Spoil how, int& lock_fd) {
  if (how == Spoil::kLockedByWriter) {
    lock_fd = ::open(path.c_str(), O_RDWR);
    ASSERT_GE(lock_fd, 0);
    ASSERT_EQ(::flock(lock_fd, LOCK_EX | LOCK_NB), 0) << "the loaded log still holds a lock on " << path;
    return;
  }
  std::filesystem::remove(path);
  if (how == Spoil::kReplacedByFolder) std::filesystem::create_directory(path);
}

TEST(HostileLog, LogThatCannotBeOpenedAtTheNextLoadKeepsTheOldLines) {
  for (std::size_t size : {std::size_t{0}, std::size_t{2} << 20}) {
    for (Spoil how : {Spoil::kRemoved, Spoil::kReplacedByFolder, Spoil::kLockedByWriter}) {
      TempDir dir;
      const std::string text = Padding(size) + Download("/kept.zip") + "\r\n";
      const std::string path = dir.Write("ログ.log", text);
      LogLines log;
      log.LoadFromFile(path);
      TextList list;
      list.LoadFromFile(path);
      const std::vector<std::string> before = Lines(log);
      ASSERT_EQ(before.back(), Download("/kept.zip"));

      int lock_fd = -1;
      SpoilLog(path, how, lock_fd);
      const std::string expected = Sjis("ファイル ") + Utf8ToCp932(path) + Sjis(" は開けません");
      const std::string label = std::to_string(size) + "/" + std::to_string(static_cast<int>(how));
      try {
        log.LoadFromFile(path);
        ADD_FAILURE() << "log loaded " << label;
      } catch (const Error& e) {
        EXPECT_EQ(e.what(), expected) << label;
      }
      try {
        list.LoadFromFile(path);
        ADD_FAILURE() << "list loaded " << label;
      } catch (const Error& e) {
        EXPECT_EQ(e.what(), expected) << label;
      }
      if (lock_fd >= 0) ::close(lock_fd);
      EXPECT_EQ(Lines(log), before) << label;
      EXPECT_EQ(list.Items(), before) << label;
    }
  }
}

// Loading a log must not leave it locked: a writer that locks the file
// (a log writer, a rotation job) would otherwise wait for as long as the
// log stays loaded. Mapping keeps the file open behind the scenes, so
// this holds for mapped logs only if the loader lets go of its lock.
TEST(HostileLog, LoadedLogLeavesNoLockForWriters) {
  for (std::size_t size : {std::size_t{0}, std::size_t{2} << 20}) {
    TempDir dir;
    const std::string path = dir.Write("access.log", Padding(size) + Download("/kept.zip") + "\r\n");
    LogLines log;
    log.LoadFromFile(path);
    const int fd = ::open(path.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0) << size;
    ::close(fd);
    EXPECT_EQ(log[log.Count() - 1], Download("/kept.zip"));
  }
}

// File modes do not stop root, so the unreadable log is tried by an
// unprivileged child.
TEST(HostileLog, LogMadeUnreadableBetweenLoadsKeepsTheOldLines) {
  for (std::size_t size : {std::size_t{0}, std::size_t{2} << 20}) {
    TempDir dir;
    const std::string path = dir.Write("access.log", Padding(size) + Download("/kept.zip") + "\r\n");
    ASSERT_EQ(::chown(dir.path().c_str(), testing::kNobody, testing::kNobody), 0);
    ASSERT_EQ(::chown(path.c_str(), testing::kNobody, testing::kNobody), 0);
    const std::string expected = Sjis("ファイル ") + Utf8ToCp932(path) + Sjis(" は開けません");
    auto outcome = testing::InChild([&]() -> std::string {
      if (!testing::DropToNobody()) return "cannot drop privileges";
      LogLines log;
      log.LoadFromFile(path);
      const std::size_t count = log.Count();
      const std::string last(log[count - 1]);
      if (::chmod(path.c_str(), 0) != 0) return "chmod failed";
      std::string message = "loaded";
      try {
        log.LoadFromFile(path);
      } catch (const Error& e) {
        message = e.what();
      }
      if (log.Count() != count || log[count - 1] != last) return "old lines lost";
      return message;
    });
    EXPECT_EQ(outcome.how, "") << size;
    EXPECT_EQ(outcome.text, expected) << size;
  }
}

// A FIFO put where the log was must not leave the program waiting for a
// writer that never comes.
TEST(HostileLog, LogReplacedByAFifoDoesNotHang) {
  TempDir dir;
  const std::string path = dir.Write("access.log", Download("/kept.zip") + "\r\n");
  std::filesystem::remove(path);
  ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
  auto outcome = testing::InChild(
      [&]() -> std::string {
        LogLines log = LogLines::FromBytes(Download("/kept.zip") + "\r\n");
        std::string message = "loaded";
        try {
          log.LoadFromFile(path);
        } catch (const Error& e) {
          message = e.what();
        }
        if (log.Count() != 1) return "old lines lost";
        return message;
      },
      10);
  EXPECT_EQ(outcome.how, "");
  EXPECT_EQ(outcome.text, Sjis("ファイル ") + Utf8ToCp932(path) + Sjis(" は開けません"));
}

// Another program truncates a log that is mapped: the pages past its new
// end vanish. Reading them must not kill the program with SIGBUS; they read
// as NUL bytes, the lines before the cut keep their bytes, and a run over
// them fails with a message that names the log instead of counting them.
TEST(HostileLog, MappedLogTruncatedAfterLoadingStillReadsAndTheRunSaysSo) {
  const long page = ::sysconf(_SC_PAGESIZE);
  for (off_t keep : {off_t{0}, off_t{1} << 20, off_t{(1 << 20) + 100}}) {
    TempDir dir;
    const std::string text = Padding(std::size_t{4} << 20) + Download("/last.zip", "31/Dec/2005:23:59:59 +0900");
    const std::string path = dir.Write("access.log", text);
    LogLines log;
    log.LoadFromFile(path);
    const std::size_t count = log.Count();
    ASSERT_GT(count, 1000u);
    ASSERT_EQ(::truncate(path.c_str(), keep), 0);

    // Lines that lie wholly in the pages that are left read as before.
    const std::size_t kept_bytes = static_cast<std::size_t>(keep) / static_cast<std::size_t>(page) *
                                   static_cast<std::size_t>(page);
    const std::vector<std::string> original = TextList::SplitText(text);
    std::size_t offset = 0, cut = 0;
    for (std::size_t i = 0; i < count; ++i) {
      const std::string_view line = log[i];
      offset += original[i].size() + 2;
      if (offset <= kept_bytes) {
        ASSERT_EQ(line, original[i]) << keep << " line " << i;
      } else {
        // Vanished bytes read as NULs, and a line stops at the first of
        // them: what is left of it is a start of the line, or nothing.
        ASSERT_TRUE(original[i].starts_with(line)) << keep << " line " << i;
        cut += line.size() < original[i].size();
      }
    }
    EXPECT_GT(cut, 0u) << keep;
    RecordingView view;
    Date(log, 0, view);
    Date(log, static_cast<long long>(count - 1), view);
    try {
      RunRanking(log, WholeLog(log), view);
      ADD_FAILURE() << keep << ": a run counts a log cut short";
    } catch (const Error& e) {
      EXPECT_EQ(e.what(), Sjis("ファイル ") + path + Sjis(" は読み込み中に短くなったか入れ替わりました")) << keep;
    }

    // The file loads again at its new size.
    log.LoadFromFile(path);
    EXPECT_EQ(Lines(log), TextList::SplitText(text.substr(0, static_cast<std::size_t>(keep)))) << keep;
  }
}

}  // namespace
}  // namespace junmaru
