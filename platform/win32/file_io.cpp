#include "file_io.h"

#include <windows.h>
// windows.h names ReplaceFileA ReplaceFile; this file defines the portable one.
#undef ReplaceFile

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <random>
#include <utility>

#include "error.h"
#include "file_messages.h"

namespace junmaru {
namespace {

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() { Close(); }
  Handle(Handle&& other) noexcept : h_(std::exchange(other.h_, INVALID_HANDLE_VALUE)) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return h_; }
  bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
  bool Close() {
    bool closed = true;
    if (ok()) closed = CloseHandle(h_) != 0;
    h_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE h_;
};

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Byte offset of the last separator, npos when there is none. Paths are
// ANSI code page bytes: the trail byte of a character such as 表 (0x95
// 0x5C) is no separator, so the path is walked character by character.
std::size_t LastSeparator(const std::string& path) {
  std::size_t last = std::string::npos;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
      ++i;
      continue;
    }
    if (IsSeparator(path[i])) last = i;
  }
  return last;
}

bool EndsInSeparator(const std::string& path) {
  return !path.empty() && LastSeparator(path) == path.size() - 1;
}

bool WriteAll(HANDLE h, std::string_view data) {
  while (!data.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(h, data.data(), chunk, &written, nullptr) || written == 0) return false;
    data.remove_prefix(written);
  }
  return true;
}

// Writes what writer writes to h, a block at a time; false when a write
// fell short.
bool WriteAllFrom(HANDLE h, const FileWriter& writer) {
  BlockSink sink([h](std::string_view block) { return WriteAll(h, block); });
  writer(sink);
  return sink.Finish();
}

// The temporary file of the save in progress, for the console handler
// that removes it when Ctrl+C or a closed console ends the program.
std::atomic<const char*> pending_temp{nullptr};

BOOL WINAPI RemovePendingTemp(DWORD) {
  if (const char* temp = pending_temp.load()) DeleteFileA(temp);
  return FALSE;  // let the next handler end the program as usual
}

void WatchConsoleOnce() {
  static std::atomic<bool> installed{false};
  if (!installed.exchange(true)) SetConsoleCtrlHandler(RemovePendingTemp, TRUE);
}

// The file a path finally names, after every link and junction; the path
// itself when it names nothing yet or the system cannot tell.
std::string FinalPath(const std::string& path) {
  Handle h(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h.ok()) return path;
  std::string final(MAX_PATH, '\0');
  DWORD n = GetFinalPathNameByHandleA(h.get(), final.data(), static_cast<DWORD>(final.size()), 0);
  if (n >= final.size()) {
    final.resize(n + 1);
    n = GetFinalPathNameByHandleA(h.get(), final.data(), static_cast<DWORD>(final.size()), 0);
  }
  if (n == 0 || n >= final.size()) return path;
  final.resize(n);
  return final;
}

// A new, empty file of its own in folder; deleted by the console handler
// while it is pending, so it is opened to allow that.
Handle CreateTemp(const std::string& folder, std::string* temp) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, ".junmaru-%012llx", static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFF));
    *temp = PathInFolder(folder, name);
    Handle h(CreateFileA(temp->c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (h.ok() || GetLastError() != ERROR_FILE_EXISTS) return h;
  }
  return Handle(INVALID_HANDLE_VALUE);
}

}  // namespace

// The folder refuses new files but the file itself may be written: then it
// is overwritten where it is, as a plain save would (the one save that is
// not all or nothing). Saves that overlap take turns: each waits for a
// lock on the whole file before it writes, and cuts the file to its own
// length only when it has written.
void file_io_detail::OverwriteInPlace(const std::string& target, const std::string& path, const FileWriter& writer) {
  Handle out(CreateFileA(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr));
  OVERLAPPED whole{};
  if (!out.ok() || !LockFileEx(out.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole))
    throw Error(messages::CannotCreate(PathForMessage(path)));
  const bool written = WriteAllFrom(out.get(), writer) && SetEndOfFile(out.get()) && FlushFileBuffers(out.get());
  UnlockFileEx(out.get(), 0, MAXDWORD, MAXDWORD, &whole);  // the next save's turn comes now, not at some later time
  if (!out.Close() || !written) throw Error(messages::StreamWriteError());
}

std::string PathForMessage(const std::string& path) { return path; }

std::string ReadWholeFile(const std::string& path) {
  // Shared for reading only: a program that has the file open for writing
  // makes the open fail, and none can open it for writing meanwhile.
  Handle h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size;
  // Only files on disk are read: a device (CON, NUL, COM1) or pipe is not.
  if (!h.ok() || GetFileType(h.get()) != FILE_TYPE_DISK || !GetFileSizeEx(h.get(), &size))
    throw Error(messages::CannotOpen(PathForMessage(path)));
  std::string data(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t filled = 0;
  for (;;) {
    if (filled == data.size()) data.resize(data.size() + (1 << 16));
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(data.size() - filled, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(h.get(), data.data() + filled, want, &got, nullptr))
      throw Error(messages::CannotOpen(PathForMessage(path)));
    if (got == 0) break;
    filled += got;
  }
  data.resize(filled);
  return data;
}

void ReplaceFile(const std::string& path, const FileWriter& writer) {
  const std::string target = FinalPath(path);
  const DWORD attributes = GetFileAttributesA(target.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists) {
    // Only a file on disk is replaced, and a read-only one is not.
    Handle probe(CreateFileA(target.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) || !probe.ok() ||
        GetFileType(probe.get()) != FILE_TYPE_DISK)
      throw Error(messages::CannotCreate(PathForMessage(path)));
  }
  WatchConsoleOnce();
  std::string temp;
  Handle out = CreateTemp(FolderOf(target), &temp);
  if (!out.ok()) {
    if (!exists) throw Error(messages::CannotCreate(PathForMessage(path)));
    file_io_detail::OverwriteInPlace(target, path, writer);
    return;
  }
  pending_temp.store(temp.c_str());
  const auto discard_temp = [&] {
    out.Close();
    pending_temp.store(nullptr);
    DeleteFileA(temp.c_str());
  };
  bool written = false;
  try {
    written = WriteAllFrom(out.get(), writer) && FlushFileBuffers(out.get());
  } catch (...) {
    discard_temp();
    throw;
  }
  if (!out.Close() || !written) {
    discard_temp();
    throw Error(messages::StreamWriteError());
  }
  // ReplaceFileA keeps the target's owner and ACL, and its attributes;
  // those are set on the new file as well, for the systems (Wine) whose
  // ReplaceFileA only renames. A new target takes the folder's defaults.
  if (exists)
    SetFileAttributesA(temp.c_str(), attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                                   FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
  const bool replaced =
      exists ? ::ReplaceFileA(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                              nullptr) != 0
             : MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  pending_temp.store(nullptr);
  if (!replaced) {
    DeleteFileA(temp.c_str());
    throw Error(messages::CannotCreate(PathForMessage(path)));
  }
}

FileIdentity IdentityOf(const std::string& path) {
  // Opened for no access at all, so that a file another program holds
  // open, even for writing, still tells who it is; links are followed.
  Handle h(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  FileIdentity identity;
  if (!h.ok() || !GetFileInformationByHandle(h.get(), &info)) return identity;
  identity.device = info.dwVolumeSerialNumber;
  identity.inode = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  identity.known = true;
  return identity;
}

bool FileExists(const std::string& path) {
  const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string FolderOf(const std::string& path) {
  const std::size_t separator = LastSeparator(path);
  if (separator == std::string::npos) {
    // "C:name" lies in the drive's current folder.
    return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : ".";
  }
  // The root of a drive or of the current drive keeps its separator.
  if (separator == 0 || (separator == 2 && path[1] == ':')) return path.substr(0, separator + 1);
  return path.substr(0, separator);
}

std::string PathInFolder(const std::string& folder, const std::string& name) {
  if (folder.empty() || EndsInSeparator(folder) || (folder.size() == 2 && folder[1] == ':')) return folder + name;
  return folder + "\\" + name;
}

}  // namespace junmaru
