#pragma once

// A file opened for reading, and what it was when it was opened: a log is
// read as it stood at its open, however its writer goes on.

#include <cstddef>
#include <cstdint>
#include <string>

#include "file_bytes.h"
#include "file_io.h"

namespace junmaru {

enum class FileShare {
  // The open fails while another program has the file open for writing
  // (Windows) or locked for writing (Linux); none can open it for writing
  // while it is open.
  kRefuseWriters,
  // Windows: the file is opened beside its writers and deleters (a log the
  // web server holds open); Linux: as kRefuseWriters.
  kShareWithWriters,
};

// What a file was at one moment.
struct FileSnapshot {
  FileIdentity identity;
  std::uint64_t size = 0;
};

class InputFile {
 public:
  // Opens a regular file for reading (a folder, FIFO or device is refused
  // without waiting). Fails with "ファイル %s は開けません".
  InputFile(const std::string& path, FileShare share);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  const std::string& path() const { return path_; }
  // The file at its open; its size is how much of it is read.
  const FileSnapshot& snapshot() const { return snapshot_; }

  // Reads up to n bytes from offset into dest; fewer only where the file
  // ends. Fails with "ファイル %s は開けません" on a read error.
  std::size_t ReadAt(std::uint64_t offset, char* dest, std::size_t n);
  // The file's first snapshot().size bytes: mapped when large, else read.
  // Fewer when the file was cut short meanwhile (the caller compares).
  FileBytes Bytes();

 private:
  std::string path_;
  std::intptr_t handle_ = -1;  // a file descriptor, or a Windows HANDLE
  FileSnapshot snapshot_;
};

// The file that path leads to now, links followed; an unknown identity
// when there is none.
FileSnapshot SnapshotOf(const std::string& path);

// About how many bytes this process may still take without the system
// refusing or ending it: the memory the system has free or can free, and
// what the process's own limits leave. UINT64_MAX when nothing tells.
std::uint64_t AvailableMemory();

}  // namespace junmaru
