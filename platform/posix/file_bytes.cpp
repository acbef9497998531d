#include "file_bytes.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <mutex>

#include "input_file.h"

namespace junmaru {
namespace {

// A mapped file that another program truncates would make the next read of
// a vanished page raise SIGBUS. The handler puts a page of zeros in its
// place instead, so the log reads as NUL bytes there and nothing crashes,
// and marks the mapping as no longer intact, so that a run can tell.
struct sigaction previous_bus_action;

// The live mappings, as [begin, end) pairs the handler can read safely.
constexpr int kMaxMappings = 64;
std::atomic<std::uintptr_t> mapping_begin[kMaxMappings];
std::atomic<std::uintptr_t> mapping_end[kMaxMappings];
std::atomic<bool> mapping_damaged[kMaxMappings];

int SlotOf(std::uintptr_t address) {
  for (int i = 0; i < kMaxMappings; ++i)
    if (address >= mapping_begin[i].load() && address < mapping_end[i].load()) return i;
  return -1;
}

bool Register(const void* map, std::size_t size) {
  const auto begin = reinterpret_cast<std::uintptr_t>(map);
  for (int i = 0; i < kMaxMappings; ++i) {
    std::uintptr_t empty = 0;
    if (mapping_begin[i].compare_exchange_strong(empty, begin)) {
      mapping_damaged[i].store(false);
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
  const int slot = info->si_code == BUS_ADRERR ? SlotOf(reinterpret_cast<std::uintptr_t>(info->si_addr)) : -1;
  if (slot >= 0 && mmap(reinterpret_cast<void*>(address), static_cast<std::size_t>(page), PROT_READ,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
    mapping_damaged[slot].store(true);
    return;
  }
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

FileBytes FileBytes::Load(const std::string& path) { return InputFile(path, FileShare::kRefuseWriters).Bytes(); }

FileBytes FileBytes::Map(std::intptr_t file, std::size_t size) {
  if (size == 0) return {};
  InstallBusHandler();
  void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, static_cast<int>(file), 0);
  if (map == MAP_FAILED) return {};
  if (!Register(map, size)) {
    ::munmap(map, size);
    return {};
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

bool FileBytes::MappingIntact(const void* map) {
  const int slot = SlotOf(reinterpret_cast<std::uintptr_t>(map));
  return slot < 0 || !mapping_damaged[slot].load();
}

}  // namespace junmaru
