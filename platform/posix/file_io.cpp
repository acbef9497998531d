#include "file_io.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <pthread.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "code_page.h"
#include "error.h"
#include "file_messages.h"

namespace junmaru {
namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void reset(int fd) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view data) {
  const char* p = data.data();
  std::size_t left = data.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

// Writes what writer writes to fd, a block at a time; false when a write
// fell short.
bool WriteAllFrom(int fd, const FileWriter& writer) {
  BlockSink sink([fd](std::string_view block) { return WriteAll(fd, block); });
  writer(sink);
  return sink.Finish();
}

std::string NameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// The target of the symbolic link that link (opened with O_PATH |
// O_NOFOLLOW) is; false when it cannot be read or is empty.
bool ReadLink(int link, std::string& target) {
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t n = ::readlinkat(link, "", buffer.data(), buffer.size());
    if (n <= 0) return false;
    if (static_cast<std::size_t>(n) < buffer.size()) {
      target.assign(buffer.data(), static_cast<std::size_t>(n));
      return true;
    }
    buffer.resize(buffer.size() * 2);
  }
}

// Whether a save may follow a symbolic link found in folder. In a sticky
// folder that everyone may write (such as /tmp), only a link of the
// follower's own or of the folder's owner: the rule the kernel applies
// with fs.protected_symlinks, which a save that resolves links itself
// would otherwise escape. The superuser follows only its own links,
// wherever they are: whoever may write a folder on the path (a web
// server's user) could otherwise plant a link there, to any file or folder
// of the system, and have a save run as root replace a file there.
bool MayFollow(const struct stat& link, const struct stat& folder) {
  const uid_t follower = ::geteuid();
  if (follower == 0 && link.st_uid != 0) return false;
  const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
  return !shared || link.st_uid == follower || link.st_uid == folder.st_uid;
}

// Pushes the names of path onto names so that the first comes off first.
void PushNames(std::string_view path, std::vector<std::string>& names) {
  const std::size_t count = names.size();
  for (std::size_t start = 0;;) {
    const std::size_t slash = path.find('/', start);
    names.emplace_back(path.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start));
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
  std::reverse(names.begin() + static_cast<std::ptrdiff_t>(count), names.end());
}

// The folder part of path opened in one call that follows no link at all,
// where the kernel has openat2; -1 otherwise, and when the folder part
// holds a link (the walk below then decides about each).
int OpenFolderWithoutLinks(const std::string& path) {
#ifdef SYS_openat2
  struct open_how how {};
  how.flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
  how.resolve = RESOLVE_NO_SYMLINKS;
  return static_cast<int>(::syscall(SYS_openat2, AT_FDCWD, FolderOf(path).c_str(), &how, sizeof how));
#else
  (void)path;
  return -1;
#endif
}

// Resolves path for a save, one name at a time and without letting the
// kernel follow any link: each link met, in a folder of the path or as
// the file's own name, is followed only when MayFollow allows it. On
// success, folder is the folder that holds the file at the end of the
// links and name the file's name there: no link, and perhaps no file yet
// (a dangling link creates its target when the target's folder exists).
// False for a link that may not be followed, a loop of links, a folder
// that cannot be reached, and a path that ends in "/".
bool ResolveForSave(const std::string& path, Fd& folder, std::string& name) {
  constexpr int kMaxLinks = 40;  // as the kernel allows
  std::vector<std::string> names;  // still to walk, the next one last
  Fd at(OpenFolderWithoutLinks(path));
  if (at.get() >= 0) {
    names.push_back(NameOf(path));
  } else {
    at.reset(::open(!path.empty() && path[0] == '/' ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    PushNames(!path.empty() && path[0] == '/' ? std::string_view(path).substr(1) : std::string_view(path), names);
  }
  int links = 0;
  while (at.get() >= 0 && !names.empty()) {
    const std::string next = std::move(names.back());
    names.pop_back();
    const bool last = names.empty();
    if (next.empty() && last) return false;
    if (next.empty() || (next == "." && !last)) continue;
    Fd entry(::openat(at.get(), next.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat st;
    if (entry.get() < 0 && last && errno == ENOENT) {
      folder.reset(at.release());
      name = next;
      return true;
    }
    if (entry.get() < 0 || ::fstat(entry.get(), &st) != 0) return false;
    if (S_ISLNK(st.st_mode)) {
      struct stat in;
      std::string target;
      if (++links > kMaxLinks || ::fstat(at.get(), &in) != 0 || !MayFollow(st, in) || !ReadLink(entry.get(), target))
        return false;
      if (target[0] == '/') {
        at.reset(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
        target.erase(0, 1);
      }
      PushNames(target, names);
    } else if (last) {
      folder.reset(at.release());
      name = next;
      return true;
    } else if (S_ISDIR(st.st_mode)) {
      at.reset(entry.release());
    } else {
      return false;
    }
  }
  return false;
}

// The temporary file a save has named and not yet renamed, where the
// signal handler can reach it without allocating: its folder and name.
volatile sig_atomic_t pending_folder = -1;
char pending_name[32];

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

void OnEndingSignal(int signal) {
  // Only async-signal-safe calls. The handler was reset to the default
  // action on entry (SA_RESETHAND), so raising again ends the program by
  // this signal, with the exit status a shell expects (128 + signal).
  if (pending_folder >= 0) ::unlinkat(pending_folder, pending_name, 0);
  ::raise(signal);
}

// Holds the ending signals back while a temporary file gets or loses its
// name, so that no name exists that the handler does not know of.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t set;
    sigemptyset(&set);
    for (int signal : kEndingSignals) sigaddset(&set, signal);
    ::pthread_sigmask(SIG_BLOCK, &set, &previous_);
  }
  ~SignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t previous_;
};

// For as long as a save lasts: the ending signals that would end the
// program outright remove the temporary file first (a signal the program
// ignores or handles itself is left alone), and SIGXFSZ is ignored.
class SaveSignals {
 public:
  SaveSignals() {
    struct sigaction cleanup {};
    cleanup.sa_handler = OnEndingSignal;
    cleanup.sa_flags = SA_RESETHAND | SA_NODEFER;
    sigemptyset(&cleanup.sa_mask);
    for (int i = 0; i < kCount; ++i) {
      ::sigaction(kEndingSignals[i], nullptr, &previous_[i]);
      if (previous_[i].sa_handler == SIG_DFL) ::sigaction(kEndingSignals[i], &cleanup, nullptr);
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, &previous_file_size_);
  }
  ~SaveSignals() {
    for (int i = 0; i < kCount; ++i) ::sigaction(kEndingSignals[i], &previous_[i], nullptr);
    ::sigaction(SIGXFSZ, &previous_file_size_, nullptr);
  }
  SaveSignals(const SaveSignals&) = delete;
  SaveSignals& operator=(const SaveSignals&) = delete;

 private:
  static constexpr int kCount = sizeof kEndingSignals / sizeof kEndingSignals[0];
  struct sigaction previous_[kCount];
  struct sigaction previous_file_size_;
};

void RememberTemp(int folder, const std::string& name) {
  std::memcpy(pending_name, name.c_str(), name.size() + 1);
  pending_folder = folder;
}

void ForgetTemp() { pending_folder = -1; }

// A fresh name for a temporary file: ".junmaru-" and six letters or digits.
std::string TempName() {
  static unsigned long long state = 0;
  if (state == 0) {
    struct timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    state = static_cast<unsigned long long>(now.tv_nsec) ^ (static_cast<unsigned long long>(::getpid()) << 32);
  }
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string name = ".junmaru-";
  for (int i = 0; i < 6; ++i) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    name += kChars[(state >> 33) % (sizeof kChars - 1)];
  }
  return name;
}

// Opens a new, empty temporary file in folder, readable by the user alone
// for now. Unnamed where the file system allows it (named stays empty: a
// program ended even by SIGKILL then leaves nothing behind), else under a
// fresh name, which named receives. -1 with errno set when neither works.
int OpenTemp(int folder, file_io_detail::TempFileKind kind, std::string& named) {
  if (kind == file_io_detail::TempFileKind::kUnnamedFirst) {
    const int fd = ::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0) return fd;
  }
  SignalsHeld held;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = TempName();
    const int fd = ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
      RememberTemp(folder, name);
      named = name;
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

// Gives the complete unnamed temporary file a fresh name in folder; the
// rename that follows is held back from signals alike. False when the
// system offers no way to name it.
bool NameTemp(int folder, int fd, std::string& named) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  SignalsHeld held;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = TempName();
    if (::linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      RememberTemp(folder, name);
      named = name;
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

void DiscardTemp(int folder, const std::string& name) {
  if (name.empty()) return;
  SignalsHeld held;
  ::unlinkat(folder, name.c_str(), 0);
  ForgetTemp();
}

// The names of fd's extended attributes, each ended by a NUL; false when
// the file system has none to offer.
bool ListAttributes(int fd, std::string& names) {
  for (;;) {
    const ssize_t size = ::flistxattr(fd, nullptr, 0);
    if (size < 0) return errno == ENOTSUP;
    names.resize(static_cast<std::size_t>(size));
    const ssize_t n = size == 0 ? 0 : ::flistxattr(fd, names.data(), names.size());
    if (n >= 0) {
      names.resize(static_cast<std::size_t>(n));
      return true;
    }
    if (errno != ERANGE) return false;  // grown meanwhile: ask again
  }
}

bool ReadAttribute(int fd, const char* name, std::string& value) {
  for (;;) {
    const ssize_t size = ::fgetxattr(fd, name, nullptr, 0);
    if (size < 0) return false;
    value.resize(static_cast<std::size_t>(size));
    const ssize_t n = size == 0 ? 0 : ::fgetxattr(fd, name, value.data(), value.size());
    if (n >= 0) {
      value.resize(static_cast<std::size_t>(n));
      return true;
    }
    if (errno != ERANGE) return false;
  }
}

// Gives the new file (temp) what the old file (name in folder, as old
// describes it) carries beyond its owner and mode: its POSIX ACL, which
// may be what lets a web server's user read the page, and its user.*
// extended attributes. A temporary file that inherited an ACL from the
// folder's default loses it when the old file had none. False when the
// old file cannot be read for them or one cannot be set.
bool CopyAttributes(int folder, const std::string& name, const struct stat& old, int temp) {
  constexpr char kAccessAcl[] = "system.posix_acl_access";
  constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  // Opened for reading, or for writing where the user may only write it
  // (neither changes the file); it must still be the file that was checked.
  Fd file(::openat(folder, name.c_str(), O_RDONLY | kFlags));
  if (file.get() < 0) file.reset(::openat(folder, name.c_str(), O_WRONLY | kFlags));
  struct stat st;
  if (file.get() < 0 || ::fstat(file.get(), &st) != 0 || st.st_dev != old.st_dev || st.st_ino != old.st_ino)
    return false;
  std::string names, value;
  if (!ListAttributes(file.get(), names)) return false;
  bool acl = false;
  for (std::size_t at = 0; at < names.size(); at += std::strlen(names.c_str() + at) + 1) {
    const char* attribute = names.c_str() + at;
    const bool is_acl = std::strcmp(attribute, kAccessAcl) == 0;
    if (!is_acl && std::strncmp(attribute, "user.", 5) != 0) continue;
    if (!ReadAttribute(file.get(), attribute, value)) {
      if (errno == ENODATA) continue;  // removed meanwhile
      return false;
    }
    if (::fsetxattr(temp, attribute, value.data(), value.size(), 0) != 0) return false;
    acl = acl || is_acl;
  }
  return acl || ::fremovexattr(temp, kAccessAcl) == 0 || errno == ENODATA || errno == ENOTSUP;
}

// The folder refuses to create or replace a file there (as opposed to a
// full disk or a missing folder).
bool FolderRefused(int error) { return error == EACCES || error == EPERM; }

// Waits for a write lock on the whole file (an fcntl record lock, of the
// open file rather than the process where the kernel has those); closing
// the file releases it.
bool LockWhole(int fd) {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  int command = F_OFD_SETLKW;
  for (;;) {
    if (::fcntl(fd, command, &lock) == 0) return true;
    if (errno == EINVAL && command == F_OFD_SETLKW) command = F_SETLKW;
    else if (errno != EINTR) return false;
  }
}

// Writes the new bytes over the file's old contents, keeping the file
// itself (and so its owner, mode, ACL and every hard link's name: they all
// show the new contents). Saves that overlap take turns, each holding the
// file locked for its write, so the file ends as one of them wrote it.
// The bytes are counted and room is taken first, so that a full disk is
// found before anything is overwritten where the file system can tell.
void OverwriteInPlaceAt(int folder, const std::string& name, const FileWriter& writer, const std::string& path) {
  Fd fd(::openat(folder, name.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  struct stat st;
  if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || !LockWhole(fd.get()))
    throw Error(messages::CannotCreate(PathForMessage(path)));
  CountingSink counter;
  writer(counter);
  const off_t size = static_cast<off_t>(counter.size());
  if (size > 0 && ::fallocate(fd.get(), 0, 0, size) != 0 && errno != EOPNOTSUPP && errno != ENOSYS)
    throw Error(messages::StreamWriteError());
  bool written = WriteAllFrom(fd.get(), writer) && ::ftruncate(fd.get(), size) == 0 && ::fsync(fd.get()) == 0;
  written = ::close(fd.release()) == 0 && written;
  if (!written) throw Error(messages::StreamWriteError());
}

}  // namespace

std::string PathForMessage(const std::string& path) { return Utf8ToCp932(path); }

std::string ReadWholeFile(const std::string& path) {
  // Non-blocking, so that opening a FIFO does not wait for a writer; only
  // regular files are read (a FIFO or a device could block or never end).
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat st;
  // A shared lock is refused while a writer holds the file locked.
  if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
      ::flock(fd.get(), LOCK_SH | LOCK_NB) != 0)
    throw Error(messages::CannotOpen(PathForMessage(path)));
  // Read the size the file has now, then whatever it grew by meanwhile.
  std::string data(static_cast<std::size_t>(st.st_size), '\0');
  std::size_t filled = 0;
  for (;;) {
    if (filled == data.size()) data.resize(data.size() + (1 << 16));
    ssize_t n = ::read(fd.get(), data.data() + filled, data.size() - filled);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw Error(messages::CannotOpen(PathForMessage(path)));
    if (n == 0) break;
    filled += static_cast<std::size_t>(n);
  }
  data.resize(filled);
  return data;
}

void ReplaceFile(const std::string& path, const FileWriter& writer) {
  file_io_detail::ReplaceFile(path, writer, file_io_detail::TempFileKind::kUnnamedFirst);
}

void file_io_detail::ReplaceFile(const std::string& path, const FileWriter& writer, TempFileKind kind) {
  const auto cannot_create = [&] { return Error(messages::CannotCreate(PathForMessage(path))); };
  Fd folder(-1);
  std::string name;
  if (!ResolveForSave(path, folder, name)) throw cannot_create();
  struct stat old;
  const bool exists = ::fstatat(folder.get(), name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
  if (!exists && errno != ENOENT) throw cannot_create();
  // Only a regular file the user may write; the superuser, whom no mode
  // stops, only one that has a write bit at all.
  if (exists && (!S_ISREG(old.st_mode) || (old.st_mode & 0222) == 0 ||
                 ::faccessat(folder.get(), name.c_str(), W_OK, AT_EACCESS) != 0))
    throw cannot_create();

  SaveSignals signals;
  std::string temp_name;  // empty while the temporary file has no name
  Fd temp(OpenTemp(folder.get(), kind, temp_name));
  if (temp.get() < 0) {
    if (exists && FolderRefused(errno)) return OverwriteInPlaceAt(folder.get(), name, writer, path);
    throw cannot_create();
  }
  if (exists) {
    // Where the owner cannot be given away, the new file is the user's own.
    (void)::fchown(temp.get(), old.st_uid, old.st_gid);
    if (!CopyAttributes(folder.get(), name, old, temp.get())) {
      DiscardTemp(folder.get(), temp_name);
      throw cannot_create();
    }
    // After the ACL, which the mode agrees with, and after the owner, which clears set-user-ID.
    ::fchmod(temp.get(), old.st_mode & 07777);
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(temp.get(), 0666 & ~mask);
  }
  bool written = false;
  try {
    written = WriteAllFrom(temp.get(), writer) && ::fsync(temp.get()) == 0;
  } catch (...) {
    DiscardTemp(folder.get(), temp_name);
    throw;
  }
  if (temp_name.empty() && written && !NameTemp(folder.get(), temp.get(), temp_name)) {
    // No way to give the unnamed file a name (no /proc): start again the plain way.
    return ReplaceFile(path, writer, TempFileKind::kNamedOnly);
  }
  written = ::close(temp.release()) == 0 && written;
  if (!written) {
    DiscardTemp(folder.get(), temp_name);
    throw Error(messages::StreamWriteError());
  }
  SignalsHeld held;
  if (::renameat(folder.get(), temp_name.c_str(), folder.get(), name.c_str()) != 0) {
    const int error = errno;
    ::unlinkat(folder.get(), temp_name.c_str(), 0);
    ForgetTemp();
    // A sticky folder lets only a file's owner replace it; its contents may still be written.
    if (exists && FolderRefused(error)) return OverwriteInPlaceAt(folder.get(), name, writer, path);
    throw cannot_create();
  }
  ForgetTemp();
}

FileIdentity IdentityOf(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return {};
  return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino), true};
}

bool FileExists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string PathInFolder(const std::string& folder, const std::string& name) {
  return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace junmaru
