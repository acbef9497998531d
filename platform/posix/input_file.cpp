#include "input_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fstream>
#include <string>

#include "error.h"
#include "file_messages.h"

namespace junmaru {
namespace {

// Files smaller than this are read; mapping pays off only for big ones.
constexpr std::size_t kMapThreshold = 1 << 20;

FileSnapshot SnapshotFrom(const struct stat& st) {
  return {{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino), true},
          static_cast<std::uint64_t>(st.st_size)};
}

// The first number that follows key in a file of "key value" lines; -1.
long long NumberAfter(const std::string& file, const std::string& key) {
  std::ifstream in(file);
  std::string word;
  long long value = -1;
  while (in >> word)
    if (word == key && in >> value) return value;
  return -1;
}

// The first number a file holds; -1 when it holds none ("max").
long long NumberIn(const std::string& file) {
  std::ifstream in(file);
  long long value = -1;
  return in >> value ? value : -1;
}

// What the memory control group of this process leaves (cgroup v2, or
// v1's memory controller); UINT64_MAX without a limit.
std::uint64_t GroupAllows() {
  std::ifstream groups("/proc/self/cgroup");
  std::uint64_t allows = UINT64_MAX;
  for (std::string line; std::getline(groups, line);) {
    const std::size_t colon = line.find(':'), path_at = line.find(':', colon + 1);
    if (colon == std::string::npos || path_at == std::string::npos) continue;
    const std::string controllers = line.substr(colon + 1, path_at - colon - 1), path = line.substr(path_at + 1);
    const bool v2 = controllers.empty();
    if (!v2 && controllers != "memory") continue;
    const std::string root = v2 ? "/sys/fs/cgroup" : "/sys/fs/cgroup/memory";
    for (const std::string& folder : {root + path, root}) {
      const long long limit = NumberIn(folder + (v2 ? "/memory.max" : "/memory.limit_in_bytes"));
      const long long used = NumberIn(folder + (v2 ? "/memory.current" : "/memory.usage_in_bytes"));
      if (limit < 0 || used < 0) continue;
      allows = std::min<std::uint64_t>(allows, limit > used ? static_cast<std::uint64_t>(limit - used) : 0);
      break;
    }
  }
  return allows;
}

}  // namespace

InputFile::InputFile(const std::string& path, FileShare) : path_(path) {
  // Non-blocking, so that opening a FIFO does not wait for a writer; only
  // regular files are read (a FIFO or a device could block or never end).
  // A shared lock is refused while a writer holds the file locked; it is
  // held until the file is closed.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  struct stat st;
  if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::flock(fd, LOCK_SH | LOCK_NB) != 0) {
    if (fd >= 0) ::close(fd);
    throw Error(messages::CannotOpen(PathForMessage(path)));
  }
  handle_ = fd;
  snapshot_ = SnapshotFrom(st);
}

InputFile::~InputFile() { ::close(static_cast<int>(handle_)); }

std::size_t InputFile::ReadAt(std::uint64_t offset, char* dest, std::size_t n) {
  std::size_t filled = 0;
  while (filled < n) {
    const ssize_t got = ::pread(static_cast<int>(handle_), dest + filled, std::min<std::size_t>(n - filled, 1 << 30),
                                static_cast<off_t>(offset + filled));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw Error(messages::CannotOpen(PathForMessage(path_)));
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  return filled;
}

FileBytes InputFile::Bytes() {
  const std::size_t size = static_cast<std::size_t>(snapshot_.size);
  if (size >= kMapThreshold) {
    FileBytes mapped = FileBytes::Map(handle_, size);
    // The mapping keeps the open file alive, and with it the shared lock:
    // let go of the lock, or a writer that locks the log would wait for as
    // long as it stays loaded.
    if (mapped.Mapped()) {
      ::flock(static_cast<int>(handle_), LOCK_UN);
      return mapped;
    }
  }
  std::string bytes(size, '\0');
  bytes.resize(ReadAt(0, bytes.data(), size));
  return FileBytes(std::move(bytes));
}

FileSnapshot SnapshotOf(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return {};
  return SnapshotFrom(st);
}

std::uint64_t AvailableMemory() {
  const long page = ::sysconf(_SC_PAGESIZE);
  std::uint64_t available = UINT64_MAX;
  if (const long long kilobytes = NumberAfter("/proc/meminfo", "MemAvailable:"); kilobytes >= 0)
    available = static_cast<std::uint64_t>(kilobytes) * 1024;
  // The address space and data limits, less what the process has taken.
  std::ifstream statm("/proc/self/statm");
  std::uint64_t size = 0, resident = 0, shared = 0, text = 0, lib = 0, data = 0;
  statm >> size >> resident >> shared >> text >> lib >> data;
  for (auto [resource, used] : {std::pair{RLIMIT_AS, size * page}, std::pair{RLIMIT_DATA, data * page}}) {
    rlimit limit{};
    if (::getrlimit(resource, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
      available = std::min<std::uint64_t>(available, limit.rlim_cur > used ? limit.rlim_cur - used : 0);
  }
  return std::min(available, GroupAllows());
}

}  // namespace junmaru
