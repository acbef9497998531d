#include "file_bytes.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <utility>

#include "error.h"
#include "file_io.h"
#include "file_messages.h"

namespace junmaru {
namespace {

// Files smaller than this are read; mapping pays off only for big ones.
constexpr std::size_t kMapThreshold = 1 << 20;

// A mapped file that another program truncates would make the next read of
// a vanished page raise SIGBUS. The handler puts a page of zeros in its
// place instead, so the log reads as NUL bytes there and nothing crashes.
struct sigaction previous_bus_action;

// The live mappings, as [begin, end) pairs the handler can read safely.
constexpr int kMaxMappings = 64;
std::atomic<std::uintptr_t> mapping_begin[kMaxMappings];
std::atomic<std::uintptr_t> mapping_end[kMaxMappings];

bool IsMapped(std::uintptr_t address) {
  for (int i = 0; i < kMaxMappings; ++i)
    if (address >= mapping_begin[i].load() && address < mapping_end[i].load()) return true;
  return false;
}

bool Register(const void* map, std::size_t size) {
  const auto begin = reinterpret_cast<std::uintptr_t>(map);
  for (int i = 0; i < kMaxMappings; ++i) {
    std::uintptr_t empty = 0;
    if (mapping_begin[i].compare_exchange_strong(empty, begin)) {
      mapping_end[i].store(begin + size);
      return true;
    }
  }
  return false;
}

void Unregister(const void* map) {
  const auto begin = reinterpret_cast<std::uintptr_t>(map);
  for (int i = 0; i < kMaxMappings; ++i) {
    if (mapping_begin[i].load() == begin) {
      mapping_end[i].store(0);
      mapping_begin[i].store(0);
      return;
    }
  }
}

void OnBusError(int signal, siginfo_t* info, void* context) {
  long page = sysconf(_SC_PAGESIZE);
  auto address = reinterpret_cast<std::uintptr_t>(info->si_addr) & ~static_cast<std::uintptr_t>(page - 1);
  if (info->si_code == BUS_ADRERR && IsMapped(reinterpret_cast<std::uintptr_t>(info->si_addr)) &&
      mmap(reinterpret_cast<void*>(address), static_cast<std::size_t>(page), PROT_READ,
           MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED)
    return;
  // Not ours to mend: behave as before.
  if (previous_bus_action.sa_flags & SA_SIGINFO) {
    previous_bus_action.sa_sigaction(signal, info, context);
  } else if (previous_bus_action.sa_handler != SIG_IGN && previous_bus_action.sa_handler != SIG_DFL) {
    previous_bus_action.sa_handler(signal);
  } else {
    ::signal(SIGBUS, SIG_DFL);
    ::raise(SIGBUS);
  }
}

void InstallBusHandler() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    sigaction(SIGBUS, &action, &previous_bus_action);
  });
}

}  // namespace

FileBytes FileBytes::Load(const std::string& path) {
  // Non-blocking, so that a FIFO put in the log's place cannot make the
  // open wait for a writer; ReadWholeFile then refuses it.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  struct stat st;
  bool mappable = fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                  static_cast<std::size_t>(st.st_size) >= kMapThreshold &&
                  ::flock(fd, LOCK_SH | LOCK_NB) == 0;
  if (!mappable) {
    if (fd >= 0) ::close(fd);
    return FileBytes(ReadWholeFile(path));
  }
  const std::size_t size = static_cast<std::size_t>(st.st_size);
  InstallBusHandler();
  void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
  // The mapping keeps the open file alive, and with it the shared lock:
  // let go of the lock, or a writer that locks the log would wait for as
  // long as it stays loaded.
  ::flock(fd, LOCK_UN);
  ::close(fd);
  if (map == MAP_FAILED) return FileBytes(ReadWholeFile(path));
  if (!Register(map, size)) {
    ::munmap(map, size);
    return FileBytes(ReadWholeFile(path));
  }
  ::madvise(map, size, MADV_SEQUENTIAL);
  FileBytes bytes;
  bytes.map_ = map;
  bytes.map_size_ = size;
  bytes.view_ = std::string_view(static_cast<const char*>(map), size);
  return bytes;
}

void FileBytes::Unmap(void* map, std::size_t size) {
  Unregister(map);
  ::munmap(map, size);
}

}  // namespace junmaru
