// junmaru-batch on hostile logs, broken settings files and outputs that
// cannot be written: the exit status, the one message on stderr, and that
// nothing is written on failure (the previous page stays byte for byte).

#include <fcntl.h>
#include <limits.h>
#include <sys/resource.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "gzip_writer.h"
#include "isolated_child.h"

namespace {

namespace fs = std::filesystem;
using junmaru::testing::InChild;

const char* const kBatch = JUNMARU_BATCH_PATH;
const std::string kOldPage = "<html>old page</html>\r\n";

struct Outcome {
  int status = -1;  // exit status; -1 when killed
  std::string err;
  long peak_kb = 0;  // the most memory the program held (maximum resident set)
};

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Runs the program with args, no environment and stdout/stderr to files;
// before_exec runs in the child first (to drop privileges). A run that
// takes more than a minute is killed and reported as such.
Outcome RunBatch(const std::vector<std::string>& args, const std::function<bool()>& before_exec = {}) {
  char pattern[] = "/tmp/junmaru_batch_err_XXXXXX";
  const int err_fd = ::mkstemp(pattern);
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (before_exec && !before_exec()) _exit(126);
    ::dup2(err_fd, 2);
    const int null_fd = ::open("/dev/null", O_WRONLY);
    ::dup2(null_fd, 1);
    std::vector<char*> argv{const_cast<char*>(kBatch)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    char* no_env[] = {nullptr};
    ::alarm(60);
    ::execve(kBatch, argv.data(), no_env);
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  ::close(err_fd);
  Outcome o;
  o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  o.peak_kb = usage.ru_maxrss;
  o.err = ReadBytes(pattern);
  ::unlink(pattern);
  return o;
}

std::string Line(const std::string& path, const std::string& stamp = "10/Oct/2004:13:55:36 +0900") {
  return "192.0.2.1 - - [" + stamp + "] \"GET " + path + " HTTP/1.1\" 200 1234\r\n";
}

class BatchFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "junmaru_batch_faults_XXXXXX";
    dir_ = ::mkdtemp(pattern.data());
    ::chmod(dir_.c_str(), 0755);
    WriteBytes(Path("gage.gif"), "GIF89a");
    WriteBytes(Path("empty.ini"), "");
    WriteBytes(Path("access.log"), Line("/dl/a.zip") + Line("/dl/b.zip"));
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::vector<std::string> Args(const std::string& log, const std::string& out) const {
    return {"--settings", Path("empty.ini"), "--log", log, "--out", out};
  }
  // The folder's names, sorted and joined by spaces.
  static std::string Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    std::string out;
    for (const std::string& name : names) out += (out.empty() ? "" : " ") + name;
    return out;
  }

  std::string dir_;
};

// Logs no one would write on purpose still give a page, or the one message
// that says why not.
TEST_F(BatchFaults, HostileLogs) {
  std::mt19937 random(3);
  std::string garbage(2 << 20, '\0');
  for (char& c : garbage) {
    c = static_cast<char>(random() % 255 + 1);
    if (c == '[') c = ']';  // so that the first line surely lacks a timestamp
  }
  struct Case {
    const char* name;
    std::string log;
    int status;
    std::string err;
    const char* in_page;  // bytes the page must hold, when one is written
  };
  for (const Case& c : std::vector<Case>{
           {"TenMegabyteLine", Line("/dl/" + std::string(10 << 20, 'x') + ".zip") + Line("/dl/b.zip"), 0, "",
            "xxxxxxxx.zip</a>"},
           {"BinaryGarbage", garbage + "\r\n" + Line("/dl/b.zip"), 0,
            "エラー　ログファイルの形式がおかしいです\n", "/dl/b.zip</a>"},
           {"NulFirst", std::string("\0", 1) + Line("/dl/b.zip"), 1,
            "ログ " + Path("hostile.log") + " に行がありません\n", nullptr},
           {"NulAfterTheFirstLine", Line("/dl/a.zip") + std::string("\0", 1) + Line("/dl/b.zip"), 0, "",
            "/dl/a.zip</a>"},
           {"LeadByteBeforeCrLf", Line("/dl/a.zip").insert(Line("/dl/a.zip").size() - 2, "\x83") + Line("/dl/b.zip"),
            0, "", "/dl/b.zip</a>"},
       }) {
    WriteBytes(Path("ranking.html"), kOldPage);
    WriteBytes(Path("hostile.log"), c.log);
    Outcome o = RunBatch(Args(Path("hostile.log"), Path("ranking.html")));
    EXPECT_EQ(o.status, c.status) << c.name;
    EXPECT_EQ(o.err, c.err) << c.name;
    const std::string page = ReadBytes(Path("ranking.html"));
    if (c.in_page) {
      EXPECT_NE(page.find(c.in_page), std::string::npos) << c.name;
      EXPECT_EQ(page.substr(page.size() - 9), "</html>\r\n") << c.name;
    } else {
      EXPECT_EQ(page, kOldPage) << c.name;
    }
    EXPECT_EQ(Entries(dir_), "access.log empty.ini gage.gif hostile.log ranking.html") << c.name;
  }
}

// A log that cannot be read: unreadable to the user who runs the program
// (root reads anything, so the run drops to an unprivileged user), or a
// FIFO in its place, which must not make the program wait for a writer.
TEST_F(BatchFaults, LogThatCannotBeRead) {
  WriteBytes(Path("ranking.html"), kOldPage);
  ASSERT_EQ(::chown(dir_.c_str(), junmaru::testing::kNobody, junmaru::testing::kNobody), 0);
  ASSERT_EQ(::chmod(Path("access.log").c_str(), 0), 0);
  Outcome o = RunBatch(Args(Path("access.log"), Path("ranking.html")), junmaru::testing::DropToNobody);
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, "ファイル " + Path("access.log") + " は開けません\n");
  EXPECT_EQ(ReadBytes(Path("ranking.html")), kOldPage);

  ASSERT_EQ(::mkfifo(Path("fifo.log").c_str(), 0644), 0);
  o = RunBatch(Args(Path("fifo.log"), Path("ranking.html")));
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, "エラー　読み込みファイル " + Path("fifo.log") + " が存在しません\n");
  EXPECT_EQ(ReadBytes(Path("ranking.html")), kOldPage);
}

TEST_F(BatchFaults, OutputFolderMissingOrReadOnly) {
  fs::create_directory(Path("site"));
  WriteBytes(Path("site/ranking.html"), kOldPage);
  WriteBytes(Path("site/gage.gif"), "GIF89a");
  // Missing folder, as root.
  Outcome o = RunBatch(Args(Path("access.log"), Path("gone/ranking.html")));
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, "ファイル " + Path("gone/ranking.html") + " を作成できません\n");
  EXPECT_FALSE(fs::exists(Path("gone")));
  // Read-only folder, as a user whom the mode binds.
  ASSERT_EQ(::chmod(Path("site").c_str(), 0555), 0);
  o = RunBatch(Args(Path("access.log"), Path("site/ranking.html")), junmaru::testing::DropToNobody);
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, "ファイル " + Path("site/ranking.html") + " を作成できません\n");
  EXPECT_EQ(ReadBytes(Path("site/ranking.html")), kOldPage);
  EXPECT_EQ(Entries(Path("site")), "gage.gif ranking.html");
}

// A full disk: a 64 KB tmpfs in a mount namespace of the test's child, or
// where that cannot be had, a write limit that the program inherits.
TEST_F(BatchFaults, FullFileSystemKeepsThePreviousPage) {
  std::string log;
  for (int i = 0; i < 3000; ++i) log += Line("/dl/file" + std::to_string(i) + ".zip");
  WriteBytes(Path("big.log"), log);
  WriteBytes(Path("all.ini"), "[Ranking]\r\nTopCount=10000\r\n");  // a page of some 400 KB
  const std::string site = Path("site");
  fs::create_directory(site);
  auto outcome = InChild([&]() -> std::string {
    const bool mounted = junmaru::testing::MountSmallTmpfs(site, "64k");
    WriteBytes(site + "/ranking.html", kOldPage);
    WriteBytes(site + "/gage.gif", "GIF89a");
    Outcome o = RunBatch({"--settings", Path("all.ini"), "--log", Path("big.log"), "--out", site + "/ranking.html"},
                         [mounted] { return mounted || junmaru::testing::LimitFileSize(32 << 10); });
    return std::to_string(o.status) + "|" + o.err + "|" +
           (ReadBytes(site + "/ranking.html") == kOldPage ? "intact" : "changed") + "|" + Entries(site);
  });
  ASSERT_EQ(outcome.how, "");
  EXPECT_EQ(outcome.text, "1|ストリームへの書き込みエラー\n|intact|gage.gif ranking.html");
}

// The settings file is only read, whatever shape it is in: the run goes on
// with what can be read, and the file is never written.
TEST_F(BatchFaults, BrokenSettingsFileIsReadNotWritten) {
  std::mt19937 random(5);
  std::string binary(32 << 10, '\0');
  for (char& c : binary) c = static_cast<char>(random());
  std::string many_words = "[KinsiWord]\r\n";
  for (int i = 0; i < 100000; ++i) many_words += "w" + std::to_string(i) + "=OK\r\n";
  struct Case {
    const char* name;
    std::string bytes;
    mode_t mode;
    const char* in_page;
  };
  for (const Case& c : std::vector<Case>{
           {"Binary", binary, 0644, "/dl/a.zip</a>"},
           {"HundredThousandWords", many_words, 0644, "/dl/a.zip</a>"},
           // Unreadable (to the unprivileged user the run drops to): the defaults.
           {"Unreadable", "[Ranking]\r\nTopCount=10\r\n", 0000, "TOP 100"},
           {"ReadOnly", "[Ranking]\r\nTopCount=10\r\n", 0444, "TOP 10\x81\x6A"},
       }) {
    const std::string ini = Path("junmaru_setting.ini");
    WriteBytes(ini, c.bytes);
    ASSERT_EQ(::chmod(ini.c_str(), c.mode), 0);
    ASSERT_EQ(::chown(dir_.c_str(), junmaru::testing::kNobody, junmaru::testing::kNobody), 0);
    ::unlink(Path("ranking.html").c_str());
    Outcome o = RunBatch({"--settings", ini, "--log", Path("access.log")}, junmaru::testing::DropToNobody);
    EXPECT_EQ(o.status, 0) << c.name;
    EXPECT_EQ(o.err, "") << c.name;
    const std::string page = ReadBytes(Path("ranking.html"));
    EXPECT_NE(page.find(c.in_page), std::string::npos) << c.name;
    ::chmod(ini.c_str(), 0644);
    EXPECT_EQ(ReadBytes(ini), c.bytes) << c.name;
  }
}

// Options at the ends of their range give the range message, never an
// overflow, and write nothing.
TEST_F(BatchFaults, ExtremeRangeOptionsGiveTheRangeMessage) {
  WriteBytes(Path("ranking.html"), kOldPage);
  struct Case {
    std::string option;
    std::string range;
  };
  for (const Case& c : std::vector<Case>{{"--from=-9223372036854775808", "-9223372036854775808～2"},
                                         {"--to=-9223372036854775808", "1～-9223372036854775808"},
                                         {"--from=9223372036854775807", "9223372036854775807～2"},
                                         {"--to=9223372036854775807", "1～9223372036854775807"}}) {
    std::vector<std::string> args = Args(Path("access.log"), Path("ranking.html"));
    args.push_back(c.option);
    Outcome o = RunBatch(args);
    EXPECT_EQ(o.status, 1) << c.option;
    EXPECT_EQ(o.err, "エラー　行の範囲 " + c.range + " がログの行 (1～2) に収まりません\n") << c.option;
    EXPECT_EQ(ReadBytes(Path("ranking.html")), kOldPage) << c.option;
  }
}

// The page named by --out is the log, directly or through links: refused
// before anything is written, and the log stays as it was.
TEST_F(BatchFaults, PageThatIsTheLogIsRefused) {
  const std::string log = ReadBytes(Path("access.log"));
  fs::create_symlink("access.log", Path("link.html"));
  for (const std::string& out : {Path("access.log"), Path("link.html")}) {
    Outcome o = RunBatch(Args(Path("access.log"), out));
    EXPECT_EQ(o.status, 1) << out;
    EXPECT_EQ(o.err, "ファイル " + out + " は読み込んだログなので出力先にできません\n") << out;
    EXPECT_EQ(ReadBytes(Path("access.log")), log) << out;
  }
}

// stderr is a pipe whose reader has gone: the warning printed before the
// save fails, and the page is written all the same.
TEST_F(BatchFaults, ClosedStderrDoesNotStopThePage) {
  WriteBytes(Path("odd.log"), Line("/dl/a.zip") + "no timestamp on the last line\r\n");
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  ::close(fds[0]);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(fds[1], 2);
    const std::string settings = Path("empty.ini"), log = Path("odd.log"), out = Path("ranking.html");
    const char* argv[] = {kBatch, "--settings", settings.c_str(), "--log", log.c_str(), "--out", out.c_str(), nullptr};
    char* no_env[] = {nullptr};
    ::execve(kBatch, const_cast<char* const*>(argv), no_env);
    _exit(127);
  }
  ::close(fds[1]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_NE(ReadBytes(Path("ranking.html")).find("/dl/a.zip"), std::string::npos);
}

// Too little memory for the settings file or the log: the message names
// the file, the status is 1, nothing is written, nothing aborts.
TEST_F(BatchFaults, OutOfMemoryNamesTheFileAndWritesNothing) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "an address space limit cannot be tested under AddressSanitizer";
#endif
  WriteBytes(Path("ranking.html"), kOldPage);
  WriteBytes(Path("big.ini"), "[HTML]\r\nCBG=" + std::string(50 << 20, 'x') + "\r\n");
  std::string log;
  while (log.size() < (std::size_t{60} << 20)) log += Line("/dl/file" + std::to_string(log.size() % 9973) + ".zip");
  WriteBytes(Path("big.log"), log);
  const auto limit_memory = [] {
    rlimit limit{40 << 20, 40 << 20};
    return ::setrlimit(RLIMIT_AS, &limit) == 0;
  };
  Outcome o = RunBatch({"--settings", Path("big.ini"), "--log", Path("access.log"), "--out", Path("ranking.html")},
                       limit_memory);
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, "メモリ不足のため " + Path("big.ini") + " を読み込めません\n");
  o = RunBatch(Args(Path("big.log"), Path("ranking.html")), limit_memory);
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find(Path("big.log")), std::string::npos) << o.err;
  EXPECT_EQ(o.err.find("bad_alloc"), std::string::npos) << o.err;
  EXPECT_EQ(ReadBytes(Path("ranking.html")), kOldPage);
}

// A program whose full path is longer than the system's path limit still
// finds the settings file beside it, started from another folder.
TEST_F(BatchFaults, SettingsBesideAProgramOfAnyPathLength) {
  int folder = ::open(dir_.c_str(), O_PATH | O_DIRECTORY);
  std::string relative;
  for (int depth = 0; depth < 24; ++depth) {
    const std::string name = std::string(200, 'd');
    ::mkdirat(folder, name.c_str(), 0755);
    const int next = ::openat(folder, name.c_str(), O_PATH | O_DIRECTORY);
    ::close(folder);
    folder = next;
    relative += name + "/";
  }
  ASSERT_GT(dir_.size() + relative.size(), static_cast<std::size_t>(PATH_MAX));
  const std::string program = ReadBytes(kBatch);
  const int exe = ::openat(folder, "junmaru-batch", O_WRONLY | O_CREAT | O_TRUNC, 0755);
  ASSERT_EQ(::write(exe, program.data(), program.size()), static_cast<ssize_t>(program.size()));
  ::close(exe);
  const std::string ini = "[FilePass]\r\nReadPass=" + Path("access.log") + "\r\nSavePass=" + Path("beside.html") + "\r\n";
  const int settings = ::openat(folder, "junmaru_setting.ini", O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_EQ(::write(settings, ini.data(), ini.size()), static_cast<ssize_t>(ini.size()));
  ::close(settings);
  ::close(folder);
  // Started by a relative name from the folder above the deep chain.
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::chdir(dir_.c_str()) != 0) _exit(126);
    const std::string name = relative + "junmaru-batch";
    // The name itself must fit the limit: start from the middle of the chain.
    const std::string half = relative.substr(0, relative.size() / 2);
    if (::chdir(half.c_str()) != 0) _exit(125);
    const std::string rest = name.substr(half.size());
    const char* argv[] = {rest.c_str(), nullptr};
    char* no_env[] = {nullptr};
    ::execve(rest.c_str(), const_cast<char* const*>(argv), no_env);
    _exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
  EXPECT_TRUE(fs::exists(Path("beside.html")));
}


// Memory of logs read as one, and of .gz files that hold more than the
// machine has. Sanitizers take memory of their own and refuse limits.
#if defined(__SANITIZE_ADDRESS__)
#define SKIP_UNDER_SANITIZERS() GTEST_SKIP() << "the sanitizers' own memory hides the program's"
#else
#define SKIP_UNDER_SANITIZERS()
#endif

// Joined logs cost the joined text, not the text and a copy of it: a
// large log and a one-line log are read straight into the joined text.
TEST_F(BatchFaults, JoiningLogsTakesMemoryForTheJoinedTextOnce) {
  SKIP_UNDER_SANITIZERS();
  std::string chunk;
  while (chunk.size() < (1 << 20)) chunk += Line("/dl/" + std::to_string(chunk.size() % 977) + ".zip");
  const std::size_t megabytes = 256;
  {
    std::ofstream big(Path("big.log"), std::ios::binary);
    for (std::size_t i = 0; i < megabytes; ++i) big << chunk;
  }
  Outcome o = RunBatch({"--settings", Path("empty.ini"), "--log", Path("big.log"), "--log", Path("access.log"),
                        "--out", Path("ranking.html")});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_LT(o.peak_kb, static_cast<long>(megabytes * 1024 * 13 / 10)) << "peak " << o.peak_kb / 1024 << " MB";
}

// Limits the address space of the child about to run the program.
std::function<bool()> AddressSpaceOf(rlim_t bytes) {
  return [bytes] {
    const rlimit limit{bytes, bytes};
    return ::setrlimit(RLIMIT_AS, &limit) == 0;
  };
}

// A .gz of 4 GB of NUL bytes after its lines is a few megabytes: its text
// ends at the first NUL, and reading it takes no more memory than that.
TEST_F(BatchFaults, GzipOfNulBytesEndsAtTheFirstOne) {
  SKIP_UNDER_SANITIZERS();
  WriteBytes(Path("nul.log.gz"), junmaru::testing::Gzip(Line("/dl/a.zip") + Line("/dl/b.zip")) +
                                     junmaru::testing::RepeatedGzip(std::string(1 << 20, '\0'), 4096));
  Outcome o = RunBatch(Args(Path("nul.log.gz"), Path("ranking.html")), AddressSpaceOf(rlim_t{512} << 20));
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(ReadBytes(Path("ranking.html")).find("/dl/b.zip</a>"), std::string::npos);
}

// A memory control group of its own for the program (root only): the
// folder, made at first use and removed at the end.
class MemoryGroup {
 public:
  explicit MemoryGroup(const std::string& limit) {
    for (const auto& [folder, file] : {std::pair{std::string("/sys/fs/cgroup/memory/"), "memory.limit_in_bytes"},
                                      std::pair{std::string("/sys/fs/cgroup/"), "memory.max"}}) {
      const std::string group = folder + "junmaru-test-" + std::to_string(::getpid());
      if (::mkdir(group.c_str(), 0755) != 0) continue;
      std::ofstream(group + "/" + file) << limit;
      if (ReadBytes(group + "/" + file).empty()) {
        ::rmdir(group.c_str());
        continue;
      }
      group_ = group;
      return;
    }
  }
  ~MemoryGroup() {
    if (!group_.empty()) ::rmdir(group_.c_str());
  }
  bool made() const { return !group_.empty(); }
  // Puts the calling process into the group.
  std::function<bool()> Enter() const {
    return [group = group_] {
      std::ofstream(group + "/cgroup.procs") << ::getpid();
      return true;
    };
  }

 private:
  std::string group_;
};

// A .gz that holds more text than the memory the program may have: the run
// refuses it with the message that names it, instead of being ended by
// the system when the memory runs out.
TEST_F(BatchFaults, GzipLargerThanTheMemoryThereIsFailsNamingIt) {
  SKIP_UNDER_SANITIZERS();
  const MemoryGroup group("268435456");  // 256 MB
  if (!group.made()) GTEST_SKIP() << "no memory control group can be made here (needs root)";
  std::string chunk;
  while (chunk.size() < (1 << 20)) chunk += Line("/dl/" + std::string(200, 'x') + ".zip");
  WriteBytes(Path("huge.log.gz"), junmaru::testing::RepeatedGzip(chunk, 2048));  // 2 GB of text
  WriteBytes(Path("ranking.html"), kOldPage);
  Outcome o = RunBatch(Args(Path("huge.log.gz"), Path("ranking.html")), group.Enter());
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, "メモリ不足のため " + Path("huge.log.gz") + " を読み込めません\n");
  EXPECT_EQ(ReadBytes(Path("ranking.html")), kOldPage);
}

}  // namespace
