#include "file_io.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

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

void ReplaceFile(const std::string& path, std::string_view data) {
  // The temporary file gets a short name of its own beside the target, so
  // that a target whose name is as long as a name may be can still be saved.
  std::string temp = PathInFolder(FolderOf(path), ".junmaru-XXXXXX");
  Fd fd(::mkstemp(temp.data()));
  if (fd.get() < 0) throw Error(messages::CannotCreate(PathForMessage(path)));
  // Keep the mode of the file being replaced; a new file gets the usual
  // mode for the user's umask.
  struct stat st;
  mode_t mode;
  if (::stat(path.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::fchmod(fd.get(), mode);
  bool written = WriteAll(fd.get(), data) && ::fsync(fd.get()) == 0;
  int raw = fd.release();
  written = ::close(raw) == 0 && written;
  if (!written) {
    ::unlink(temp.c_str());
    throw Error(messages::StreamWriteError());
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    throw Error(messages::CannotCreate(PathForMessage(path)));
  }
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
