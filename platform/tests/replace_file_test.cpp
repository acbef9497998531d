// Saving a file where it lives: device nodes, FIFOs and folders refused
// untouched; links written through; owner, group and mode kept; read-only
// files refused; the in-place write where the folder takes no new file;
// and no temporary file left by a signal that ends the program mid-save.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "code_page.h"
#include "error.h"
#include "file_io.h"
#include "isolated_child.h"
#include "piece_writer.h"
#include "temp_dir.h"

namespace junmaru {
namespace {

namespace fs = std::filesystem;
using file_io_detail::TempFileKind;
using testing::PieceWriter;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

const std::string kOld = "old contents\r\n";
const std::string kNew = "new contents\r\n";

std::string CannotCreate(const std::string& path) {
  return Sjis("ファイル ") + Utf8ToCp932(path) + Sjis(" を作成できません");
}

// What the save said ("" when it went through).
std::string Save(const std::string& path, const std::string& data, TempFileKind kind = TempFileKind::kUnnamedFirst) {
  try {
    file_io_detail::ReplaceFile(path, [&](ByteSink& sink) { sink.Write(data); }, kind);
  } catch (const Error& e) {
    return e.what();
  }
  return {};
}

struct stat StatOf(const std::string& path) {
  struct stat st {};
  ::lstat(path.c_str(), &st);
  return st;
}

const TempFileKind kKinds[] = {TempFileKind::kUnnamedFirst, TempFileKind::kNamedOnly};

TEST(ReplaceFile, AnythingButARegularFileIsRefusedAndLeftAlone) {
  const bool root = ::geteuid() == 0;
  if (!root) std::cout << "not root: the device node case is skipped\n";
  for (TempFileKind kind : kKinds) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0644), 0);
    fs::create_directory(dir.File("folder"));
    if (root) {
      ASSERT_EQ(::mknod(dir.File("null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    }
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", dir.File("socket").c_str());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    fs::create_symlink("fifo", dir.File("link-to-fifo"));
    int pipe_fds[2];
    ASSERT_EQ(::pipe(pipe_fds), 0);
    const std::string self_fd = "/proc/self/fd/" + std::to_string(pipe_fds[1]);
    fs::create_symlink(self_fd, dir.File("link-to-pipe"));
    const std::string before = dir.Entries();

    std::vector<std::string> targets = {dir.File("fifo"), dir.File("folder"), dir.File("socket"),
                                        dir.File("link-to-fifo"), dir.File("link-to-pipe"), self_fd};
    if (root) targets.push_back(dir.File("null"));
    for (const std::string& target : targets) {
      EXPECT_EQ(Save(target, kNew, kind), CannotCreate(target)) << target;
      EXPECT_EQ(dir.Entries(), before) << target;
    }
    EXPECT_TRUE(S_ISFIFO(StatOf(dir.File("fifo")).st_mode));
    EXPECT_TRUE(S_ISSOCK(StatOf(dir.File("socket")).st_mode));
    EXPECT_TRUE(S_ISLNK(StatOf(dir.File("link-to-fifo")).st_mode));
    if (root) {
      const struct stat null = StatOf(dir.File("null"));
      EXPECT_TRUE(S_ISCHR(null.st_mode));
      EXPECT_EQ(null.st_rdev, makedev(1, 3));
    }
    ::close(sock);
    ::close(pipe_fds[0]);
    ::close(pipe_fds[1]);
  }
}

TEST(ReplaceFile, LinksAreWrittenThroughAndStayLinks) {
  for (TempFileKind kind : kKinds) {
    TempDir dir;
    fs::create_directory(dir.File("real"));
    fs::create_directory(dir.File("site"));
    WriteBytes(dir.File("real/page.html"), kOld);
    fs::create_symlink("../real/page.html", dir.File("site/relative.html"));
    fs::create_symlink(dir.File("real/page.html"), dir.File("site/absolute.html"));
    fs::create_symlink("relative.html", dir.File("site/chain.html"));
    for (const char* link : {"site/relative.html", "site/absolute.html", "site/chain.html"}) {
      WriteBytes(dir.File("real/page.html"), kOld);
      EXPECT_EQ(Save(dir.File(link), kNew + link, kind), "") << link;
      EXPECT_EQ(ReadBytes(dir.File("real/page.html")), kNew + link) << link;
      EXPECT_TRUE(S_ISLNK(StatOf(dir.File(link)).st_mode)) << link;
    }
    EXPECT_EQ(dir.Entries(), "real site");
    EXPECT_EQ(TempDir::Entries(dir.File("real")), "page.html");

    // A dangling link creates its target when the target's folder exists.
    fs::create_symlink("new.html", dir.File("site/dangling.html"));
    EXPECT_EQ(Save(dir.File("site/dangling.html"), kNew, kind), "");
    EXPECT_EQ(ReadBytes(dir.File("site/new.html")), kNew);
    EXPECT_TRUE(S_ISLNK(StatOf(dir.File("site/dangling.html")).st_mode));
    fs::create_symlink("../gone/new.html", dir.File("site/nowhere.html"));
    EXPECT_EQ(Save(dir.File("site/nowhere.html"), kNew, kind), CannotCreate(dir.File("site/nowhere.html")));
    fs::create_symlink("loop-b", dir.File("site/loop-a"));
    fs::create_symlink("loop-a", dir.File("site/loop-b"));
    EXPECT_EQ(Save(dir.File("site/loop-a"), kNew, kind), CannotCreate(dir.File("site/loop-a")));
    EXPECT_EQ(TempDir::Entries(dir.File("site")),
              "absolute.html chain.html dangling.html loop-a loop-b new.html nowhere.html relative.html");
  }
}

// As root, a link that another user owns is not followed, wherever it is
// on the path (as the file's name or as a folder), nor is one that a chain
// of root's links leads to: the user of a web folder could plant one there
// to any file or folder of the system. Root's own links are followed.
TEST(ReplaceFile, AsRootALinkOfAnotherUserIsRefused) {
  if (::geteuid() != 0) GTEST_SKIP() << "not root: links cannot be given to another owner";
  struct Case {
    const char* save;  // in site/
    bool refused;
  };
  for (TempFileKind kind : kKinds) {
    for (const Case& c : std::vector<Case>{{"planted.html", true},
                                           {"chain.html", true},
                                           {"planted-dir/page.html", true},
                                           {"chain-dir/page.html", true},
                                           {"planted-dir/../real/page.html", true},
                                           {"own-dir/page.html", false},
                                           {"own-dir/../site/own.html", false}}) {
      TempDir dir;
      fs::create_directory(dir.File("real"));
      fs::create_directory(dir.File("site"));
      WriteBytes(dir.File("real/page.html"), kOld);
      for (const auto& [link, target, owner] : {std::tuple{"planted.html", "../real/page.html", testing::kNobody},
                                                std::tuple{"chain.html", "planted.html", 0u},
                                                std::tuple{"planted-dir", "../real", testing::kNobody},
                                                std::tuple{"chain-dir", "planted-dir", 0u},
                                                std::tuple{"own-dir", "../real", 0u},
                                                std::tuple{"own.html", "../real/page.html", 0u}}) {
        fs::create_symlink(target, dir.File("site/") + link);
        ASSERT_EQ(::lchown((dir.File("site/") + link).c_str(), owner, owner), 0);
      }
      const std::string page = dir.File("site/") + c.save;
      EXPECT_EQ(Save(page, kNew, kind), c.refused ? CannotCreate(page) : "") << c.save;
      EXPECT_EQ(ReadBytes(dir.File("real/page.html")), c.refused ? kOld : kNew) << c.save;
      EXPECT_EQ(TempDir::Entries(dir.File("site")), "chain-dir chain.html own-dir own.html planted-dir planted.html");
      EXPECT_EQ(TempDir::Entries(dir.File("real")), "page.html");
    }
  }
}

// In a sticky folder that everyone may write, a user follows only a link
// of the user's own or of the folder's owner, as the kernel's
// fs.protected_symlinks rule has it; another user's link, to a file or to
// a folder, is refused and what it points to left alone, and a dangling
// one creates nothing. Outside such a folder every link is followed.
TEST(ReplaceFile, InASharedStickyFolderOnlyLinksOfTheUserOrTheFolderOwnerAreFollowed) {
  if (::geteuid() != 0) GTEST_SKIP() << "not root: links cannot be given to another owner";
  constexpr uid_t kOtherUser = 54321;
  struct Case {
    const char* name;
    uid_t link_owner;
    mode_t folder_mode;  // of the folder that holds the links, owned by root
    bool followed;
  };
  for (const Case& c : std::vector<Case>{
           {"TheUsersOwnLink", testing::kNobody, 01777, true},
           {"TheFolderOwnersLink", 0, 01777, true},
           {"AnotherUsersLink", kOtherUser, 01777, false},
           {"AnotherUsersLinkInAFolderNotSticky", kOtherUser, 0777, true},
           {"AnotherUsersLinkInAStickyFolderNotWorldWritable", kOtherUser, 01775, true},
       }) {
    for (TempFileKind kind : kKinds) {
      TempDir dir;
      const std::string home = dir.File("home"), shared = dir.File("shared");
      fs::create_directory(home);
      fs::create_directory(shared);
      ASSERT_EQ(::chown(home.c_str(), testing::kNobody, testing::kNobody), 0);
      ASSERT_EQ(::chmod(shared.c_str(), c.folder_mode), 0);
      WriteBytes(home + "/page.html", kOld);
      ASSERT_EQ(::chown((home + "/page.html").c_str(), testing::kNobody, testing::kNobody), 0);
      for (const auto& [link, target] : {std::pair{"page.html", "../home/page.html"}, std::pair{"dl", "../home"},
                                         std::pair{"dangling.html", "../home/new.html"}}) {
        fs::create_symlink(target, shared + "/" + link);
        ASSERT_EQ(::lchown((shared + "/" + link).c_str(), c.link_owner, c.link_owner), 0);
      }
      for (const char* save : {"page.html", "dl/page.html", "dangling.html"}) {
        const std::string page = shared + "/" + save;
        WriteBytes(home + "/page.html", kOld);
        auto outcome = testing::InChild([&]() -> std::string {
          if (!testing::DropToNobody()) return "cannot drop privileges";
          return Save(page, kNew, kind);
        });
        ASSERT_EQ(outcome.how, "") << c.name << " " << save;
        EXPECT_EQ(outcome.text, c.followed ? "" : CannotCreate(page)) << c.name << " " << save;
        const bool creates = std::string(save) == "dangling.html";
        EXPECT_EQ(ReadBytes(home + (creates ? "/new.html" : "/page.html")), c.followed ? kNew : creates ? "" : kOld)
            << c.name << " " << save;
        EXPECT_EQ(TempDir::Entries(home), c.followed && creates ? "new.html page.html" : "page.html")
            << c.name << " " << save;
        ::unlink((home + "/new.html").c_str());
        EXPECT_EQ(TempDir::Entries(shared), "dangling.html dl page.html") << c.name << " " << save;
      }
    }
  }
}

// A name with several hard links is replaced under that name alone: the
// other names keep the old contents (writing through them would let a link
// planted in the folder aim the save at any file of that file system).
TEST(ReplaceFile, HardLinkedNameIsReplacedAlone) {
  TempDir dir;
  WriteBytes(dir.File("page.html"), kOld);
  ASSERT_EQ(::link(dir.File("page.html").c_str(), dir.File("other.html").c_str()), 0);
  EXPECT_EQ(Save(dir.File("page.html"), kNew), "");
  EXPECT_EQ(ReadBytes(dir.File("page.html")), kNew);
  EXPECT_EQ(ReadBytes(dir.File("other.html")), kOld);
}

TEST(ReplaceFile, OwnerGroupAndModeAreKept) {
  if (::geteuid() != 0) GTEST_SKIP() << "not root: files cannot be given to another owner";
  struct Case {
    uid_t owner;
    gid_t group;
    mode_t mode;
  };
  for (TempFileKind kind : kKinds) {
    for (const Case& c : std::vector<Case>{{testing::kNobody, testing::kNobody, 0640},
                                           {testing::kNobody, 0, 0604},
                                           {0, testing::kNobody, 0660},
                                           {0, 0, 0600}}) {
      TempDir dir;
      const std::string page = dir.File("page.html");
      WriteBytes(page, kOld);
      ASSERT_EQ(::chown(page.c_str(), c.owner, c.group), 0);
      ASSERT_EQ(::chmod(page.c_str(), c.mode), 0);
      EXPECT_EQ(Save(page, kNew, kind), "");
      const struct stat st = StatOf(page);
      EXPECT_EQ(ReadBytes(page), kNew);
      EXPECT_EQ(st.st_uid, c.owner);
      EXPECT_EQ(st.st_gid, c.group);
      EXPECT_EQ(st.st_mode & 07777, c.mode);
    }
  }
  // A new file gets the usual mode for the umask.
  TempDir dir;
  const mode_t mask = ::umask(027);
  EXPECT_EQ(Save(dir.File("new.html"), kNew), "");
  ::umask(mask);
  EXPECT_EQ(StatOf(dir.File("new.html")).st_mode & 07777, 0640u);
}

// What a command printed on stdout; "" and false when it failed.
std::pair<std::string, bool> Output(const std::string& command) {
  FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return {"", false};
  std::string out;
  char buffer[512];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  return {out, ::pclose(pipe) == 0};
}

std::string UserAttributes(const std::string& path) {
  return Output("getfattr --absolute-names -d -m '^user\\.' " + path + " | sed 1d").first;
}

// The replaced page keeps its POSIX ACL (getfacl reads the same before
// and after: a web server's user that may read it through an ACL entry
// still may, and the owning group gains nothing) and its user.* extended
// attributes; a page without an ACL takes none from the folder's default.
TEST(ReplaceFile, AclAndUserAttributesAreKept) {
  struct Case {
    const char* name;
    const char* folder_default;  // setfacl -d entries for the folder, or ""
    const char* page_acl;        // setfacl --set entries for the page, or "" for none
  };
  for (const Case& c : std::vector<Case>{
           {"ReadableByAnotherUserThroughAnEntry", "", "u::rw,u:65534:r,g::-,m::r,o::-"},
           {"NamedGroupAndUserEntries", "", "u::rw,u:65534:rw,g::r,g:65534:r,m::rw,o::r"},
           {"NoAclInAFolderWithADefaultOne", "u:65534:rw", ""},
           {"OwnAclInAFolderWithADefaultOne", "u:65534:rw", "u::rw,u:65534:r,g::-,m::r,o::-"},
       }) {
    for (TempFileKind kind : kKinds) {
      TempDir dir;
      const std::string page = dir.File("page.html");
      WriteBytes(page, kOld);
      if (*c.folder_default != '\0' && !Output("setfacl -d -m " + std::string(c.folder_default) + " " + dir.path()).second)
        GTEST_SKIP() << "the file system of " << dir.path() << " has no POSIX ACL (or setfacl is missing)";
      const std::string set = *c.page_acl != '\0' ? "setfacl --set " + std::string(c.page_acl) : "setfacl -b";
      if (!Output(set + " " + page).second)
        GTEST_SKIP() << "the file system of " << dir.path() << " has no POSIX ACL (or setfacl is missing)";
      const bool user_attributes = ::setxattr(page.c_str(), "user.origin", "site", 4, 0) == 0 &&
                                   ::setxattr(page.c_str(), "user.empty", "", 0, 0) == 0;
      if (!user_attributes) std::cout << "no user.* attributes on this file system: that part is skipped\n";
      const std::string acl = Output("getfacl -cn " + page).first, attributes = UserAttributes(page);
      const mode_t mode = StatOf(page).st_mode & 07777;

      EXPECT_EQ(Save(page, kNew, kind), "") << c.name;
      EXPECT_EQ(ReadBytes(page), kNew) << c.name;
      EXPECT_EQ(Output("getfacl -cn " + page).first, acl) << c.name;
      EXPECT_EQ(StatOf(page).st_mode & 07777, mode) << c.name;
      if (user_attributes) {
        EXPECT_EQ(UserAttributes(page), attributes) << c.name;
        EXPECT_NE(attributes.find("user.origin=\"site\""), std::string::npos) << attributes;
      }
      EXPECT_EQ(dir.Entries(), "page.html") << c.name;
    }
  }
}

// Modes bind only a user below root: each case runs as nobody in a child.
TEST(ReplaceFile, PermissionsDecideBetweenReplacingInPlaceAndRefusing) {
  if (::geteuid() != 0) GTEST_SKIP() << "not root: cannot become another user";
  enum Outcome { kReplaced, kInPlace, kRefused };
  struct Case {
    const char* name;
    uid_t file_owner;
    mode_t file_mode;
    uid_t folder_owner;
    mode_t folder_mode;
    Outcome outcome;
  };
  for (const Case& c : std::vector<Case>{
           {"WritableFileInWritableFolder", testing::kNobody, 0644, testing::kNobody, 0755, kReplaced},
           {"ReadOnlyFileOfTheUser", testing::kNobody, 0444, testing::kNobody, 0755, kRefused},
           {"SomeoneElsesFileInTheUsersFolder", 0, 0644, testing::kNobody, 0755, kRefused},
           {"WritableFileInFolderThatTakesNoNewFile", testing::kNobody, 0644, 0, 0755, kInPlace},
           {"WorldWritableFileInStickyFolder", 0, 0666, 0, 01777, kInPlace},
           {"ReadOnlyFileInFolderThatTakesNoNewFile", testing::kNobody, 0444, 0, 0755, kRefused},
       }) {
    for (TempFileKind kind : kKinds) {
      TempDir dir;
      const std::string page = dir.File("page.html");
      WriteBytes(page, kOld);
      ASSERT_EQ(::chown(page.c_str(), c.file_owner, c.file_owner), 0);
      ASSERT_EQ(::chmod(page.c_str(), c.file_mode), 0);
      ASSERT_EQ(::chown(dir.path().c_str(), c.folder_owner, c.folder_owner), 0);
      ASSERT_EQ(::chmod(dir.path().c_str(), c.folder_mode), 0);
      const ino_t inode = StatOf(page).st_ino;
      auto outcome = testing::InChild([&]() -> std::string {
        if (!testing::DropToNobody()) return "cannot drop privileges";
        return Save(page, kNew, kind);
      });
      ASSERT_EQ(outcome.how, "") << c.name;
      EXPECT_EQ(outcome.text, c.outcome == kRefused ? CannotCreate(page) : "") << c.name;
      EXPECT_EQ(ReadBytes(page), c.outcome == kRefused ? kOld : kNew) << c.name;
      EXPECT_EQ(StatOf(page).st_ino == inode, c.outcome != kReplaced) << c.name;
      EXPECT_EQ(StatOf(page).st_mode & 07777, c.file_mode) << c.name;
      EXPECT_EQ(dir.Entries(), "page.html") << c.name;
    }
  }
  // The superuser, whom no mode stops, still keeps a file without any write bit.
  TempDir dir;
  WriteBytes(dir.File("page.html"), kOld);
  ASSERT_EQ(::chmod(dir.File("page.html").c_str(), 0444), 0);
  EXPECT_EQ(Save(dir.File("page.html"), kNew), CannotCreate(dir.File("page.html")));
  EXPECT_EQ(ReadBytes(dir.File("page.html")), kOld);
}

// Saves that overlap where the folder takes no new file (for nobody, or
// for a user in a folder of its own without write permission) overwrite
// the page in place. They take turns, so the page ends as one of them
// wrote it, never a mix of two. The file itself is written: its other
// hard-link name shows the same bytes.
TEST(ReplaceFile, OverlappingInPlaceSavesTakeTurns) {
  constexpr int kSaves = 20;
  const bool root = ::geteuid() == 0;
  const std::vector<std::string> pages = testing::RivalPages(kSaves, 200u << 10);
  TempDir dir;
  const std::string page = dir.File("page.html");
  WriteBytes(page, kOld);
  ASSERT_EQ(::link(page.c_str(), dir.File("other.html").c_str()), 0);
  if (root) {
    ASSERT_EQ(::chown(page.c_str(), testing::kNobody, testing::kNobody), 0);
  }
  ASSERT_EQ(::chmod(page.c_str(), 0644), 0);
  ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
  const ino_t inode = StatOf(page).st_ino;
  int go[2];
  ASSERT_EQ(::pipe(go), 0);
  std::vector<pid_t> children;
  for (int i = 0; i < kSaves; ++i) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::close(go[1]);
      ::alarm(120);
      if (root && !testing::DropToNobody()) ::_exit(3);
      char byte;
      (void)::read(go[0], &byte, 1);  // returns when the parent lets them all go
      ::_exit(Save(page, pages[i]).empty() ? 0 : 2);
    }
    children.push_back(pid);
  }
  ::close(go[0]);
  ::close(go[1]);
  for (pid_t pid : children) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
  }
  ::chmod(dir.path().c_str(), 0755);
  const std::string result = ReadBytes(page);
  EXPECT_NE(std::find(pages.begin(), pages.end(), result), pages.end())
      << "a mix of saves, " << result.size() << " bytes";
  EXPECT_EQ(ReadBytes(dir.File("other.html")), result);
  EXPECT_EQ(StatOf(page).st_ino, inode);
  EXPECT_EQ(dir.Entries(), "other.html page.html");
}

// A file size limit ends the program with SIGXFSZ by default; a save
// ignores it, so the write fails and says so, and the old file stays.
TEST(ReplaceFile, FileSizeLimitGivesTheWriteErrorNotADeath) {
  for (TempFileKind kind : kKinds) {
    TempDir dir;
    const std::string page = dir.File("page.html");
    WriteBytes(page, kOld);
    auto outcome = testing::InChild([&]() -> std::string {
      rlimit limit{1024, 1024};
      if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return "no limit";
      return Save(page, std::string(64 << 10, 'x'), kind);
    });
    EXPECT_EQ(outcome.how, "");
    EXPECT_EQ(outcome.text, Sjis("ストリームへの書き込みエラー"));
    EXPECT_EQ(ReadBytes(page), kOld);
    EXPECT_EQ(dir.Entries(), "page.html");
  }
}

// A child saves a page of a few megabytes and is sent a signal just as
// the save begins, or a little later. Whatever the moment, the page is
// whole (old or new) and no temporary file is left; the child ends by the
// signal. SIGKILL cannot be caught: it may leave one named temporary file,
// and none when the temporary file is unnamed until complete.
TEST(ReplaceFile, SignalsDuringTheSaveLeaveAWholePageAndNoTemporaryFile) {
  const std::string big(4 << 20, 'n');
  std::mt19937 random(20261207);
  for (TempFileKind kind : kKinds) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGKILL}) {
      int named_left = 0, ended_by_signal = 0;
      for (int round = 0; round < 12; ++round) {
        TempDir dir;
        const std::string page = dir.File("page.html");
        WriteBytes(page, kOld);
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
          ::close(ready[0]);
          if (::write(ready[1], "r", 1) != 1) ::_exit(3);
          const std::string message = Save(page, big, kind);
          ::_exit(message.empty() ? 0 : 2);
        }
        ::close(ready[1]);
        char byte;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1);
        ::close(ready[0]);
        ::usleep(std::uniform_int_distribution<unsigned>(0, round < 6 ? 200 : 5000)(random));
        ::kill(pid, signal);
        int status = 0;
        ::waitpid(pid, &status, 0);
        const std::string text = ReadBytes(page);
        EXPECT_TRUE(text == kOld || text == big) << signal << " round " << round;
        if (WIFSIGNALED(status)) {
          EXPECT_EQ(WTERMSIG(status), signal);
          ++ended_by_signal;
        } else {
          EXPECT_EQ(WEXITSTATUS(status), 0);  // the save was over before the signal came
        }
        const std::string entries = dir.Entries();
        // SIGKILL cannot be held back: between naming the unnamed file and the
        // rename over the page, it too leaves the named file.
        if (signal == SIGKILL && entries != "page.html") {
          ++named_left;
          EXPECT_EQ(entries.substr(0, 9), ".junmaru-");
          EXPECT_EQ(entries.substr(entries.size() - 10), " page.html");
        } else {
          EXPECT_EQ(entries, "page.html") << signal << " round " << round;
        }
      }
      EXPECT_GT(ended_by_signal, 0) << signal << ": no signal came during a save";
      if (named_left > 0) std::cout << named_left << " of 12 SIGKILLs left one named temporary file\n";
    }
  }
}

// Bytes written in small pieces, several blocks in all, reach the file
// whole however it is written: a new file, a replaced one, and in place
// where the folder takes no new file (as nobody, in a child). A writer
// that throws midway leaves the old file and no temporary file behind.
TEST(ReplaceFile, WriterInPiecesGivesTheWholeFileOrLeavesTheOldOne) {
  std::string data(3 * BlockSink::kBlockBytes + 777, '\0');
  std::mt19937 random(7);
  for (char& c : data) c = static_cast<char>(random());
  const std::string old_page(5 * BlockSink::kBlockBytes, 'o');  // longer than the new page
  for (TempFileKind kind : kKinds) {
    TempDir dir;
    const std::string page = dir.File("page.html");
    file_io_detail::ReplaceFile(page, PieceWriter(data), kind);
    EXPECT_EQ(ReadBytes(page), data);
    WriteBytes(page, old_page);
    file_io_detail::ReplaceFile(page, PieceWriter(data), kind);
    EXPECT_EQ(ReadBytes(page), data);
    WriteBytes(page, old_page);
    EXPECT_THROW(file_io_detail::ReplaceFile(page, PieceWriter(data, 2 * BlockSink::kBlockBytes), kind),
                 std::runtime_error);
    EXPECT_THROW(file_io_detail::ReplaceFile(dir.File("new.html"), PieceWriter(data, 0), kind), std::runtime_error);
    EXPECT_EQ(ReadBytes(page), old_page);
    EXPECT_EQ(dir.Entries(), "page.html");
  }
  if (::geteuid() != 0) GTEST_SKIP() << "not root: cannot become another user";
  TempDir dir;
  const std::string page = dir.File("page.html");
  WriteBytes(page, old_page);
  ASSERT_EQ(::chown(page.c_str(), testing::kNobody, testing::kNobody), 0);
  ASSERT_EQ(::chmod(page.c_str(), 0644), 0);
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  const ino_t inode = StatOf(page).st_ino;
  auto outcome = testing::InChild([&]() -> std::string {
    if (!testing::DropToNobody()) return "cannot drop privileges";
    file_io_detail::ReplaceFile(page, PieceWriter(data), TempFileKind::kUnnamedFirst);
    return "";
  });
  ASSERT_EQ(outcome.how, "");
  EXPECT_EQ(outcome.text, "");
  EXPECT_EQ(ReadBytes(page), data);
  EXPECT_EQ(StatOf(page).st_ino, inode);
}

TEST(ReplaceFile, IdentitySeesTheSameFileUnderEveryName) {
  TempDir dir;
  WriteBytes(dir.File("access.log"), kOld);
  WriteBytes(dir.File("other.log"), kOld);
  fs::create_symlink("access.log", dir.File("link.log"));
  ASSERT_EQ(::link(dir.File("access.log").c_str(), dir.File("hard.log").c_str()), 0);
  const FileIdentity log = IdentityOf(dir.File("access.log"));
  EXPECT_TRUE(log.SameFileAs(IdentityOf(dir.File("link.log"))));
  EXPECT_TRUE(log.SameFileAs(IdentityOf(dir.File("hard.log"))));
  EXPECT_TRUE(log.SameFileAs(IdentityOf(dir.path() + "/./access.log")));
  EXPECT_FALSE(log.SameFileAs(IdentityOf(dir.File("other.log"))));
  EXPECT_FALSE(log.SameFileAs(IdentityOf(dir.File("missing.log"))));
  EXPECT_FALSE(FileIdentity{}.SameFileAs(FileIdentity{}));
}

}  // namespace
}  // namespace junmaru
