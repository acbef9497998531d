#include "input_file.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "error.h"
#include "file_messages.h"

namespace junmaru {
namespace {

// Files smaller than this are read; mapping pays off only for big ones.
constexpr std::size_t kMapThreshold = 1 << 20;

HANDLE AsHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

bool Describe(HANDLE h, FileSnapshot& snapshot) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(h, &info)) return false;
  snapshot.identity = {info.dwVolumeSerialNumber, (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow,
                       true};
  snapshot.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  return true;
}

}  // namespace

InputFile::InputFile(const std::string& path, FileShare share) : path_(path) {
  // Refusing writers, the open fails while a program has the file open
  // for writing, and none can open it for writing meanwhile. Sharing with
  // them, a log the server writes is read as far as it reached at the open.
  const DWORD share_mode = share == FileShare::kRefuseWriters
                               ? FILE_SHARE_READ
                               : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, share_mode, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  // Only files on disk are read: a device (CON, NUL, COM1) or pipe is not.
  if (h == INVALID_HANDLE_VALUE || GetFileType(h) != FILE_TYPE_DISK || !Describe(h, snapshot_)) {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    throw Error(messages::CannotOpen(PathForMessage(path)));
  }
  handle_ = reinterpret_cast<std::intptr_t>(h);
}

InputFile::~InputFile() { CloseHandle(AsHandle(handle_)); }

std::size_t InputFile::ReadAt(std::uint64_t offset, char* dest, std::size_t n) {
  std::size_t filled = 0;
  while (filled < n) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>((offset + filled) & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>((offset + filled) >> 32);
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(n - filled, 1u << 30));
    if (!ReadFile(AsHandle(handle_), dest + filled, want, &got, &at)) {
      if (GetLastError() == ERROR_HANDLE_EOF) break;
      throw Error(messages::CannotOpen(PathForMessage(path_)));
    }
    if (got == 0) break;
    filled += got;
  }
  return filled;
}

FileBytes InputFile::Bytes() {
  const std::size_t size = static_cast<std::size_t>(snapshot_.size);
  if (size >= kMapThreshold) {
    FileBytes mapped = FileBytes::Map(handle_, size);
    if (mapped.Mapped()) return mapped;
  }
  std::string bytes(size, '\0');
  bytes.resize(ReadAt(0, bytes.data(), size));
  return FileBytes(std::move(bytes));
}

FileSnapshot SnapshotOf(const std::string& path) {
  // Opened for no access at all, so that a file another program holds
  // open, even for writing, still tells what it is.
  HANDLE h = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  FileSnapshot snapshot;
  if (h == INVALID_HANDLE_VALUE) return snapshot;
  if (!Describe(h, snapshot)) snapshot = {};
  CloseHandle(h);
  return snapshot;
}

std::uint64_t AvailableMemory() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (!GlobalMemoryStatusEx(&status)) return UINT64_MAX;
  return std::min<std::uint64_t>(status.ullAvailPhys, status.ullAvailVirtual);
}

}  // namespace junmaru
