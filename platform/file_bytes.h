#pragma once

// The bytes of a whole file, held for as long as they are needed. A large
// regular file is mapped into memory rather than copied, so that loading a
// log of hundreds of megabytes costs neither the copy nor fresh pages; any
// other input is read into memory.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace junmaru {

class FileBytes {
 public:
  FileBytes() = default;
  explicit FileBytes(std::string bytes) : owned_(std::move(bytes)), view_(owned_) {}
  // The whole file, mapped when large, opened as ReadWholeFile opens it
  // (InputFile says more). Fails with "ファイル %s は開けません".
  static FileBytes Load(const std::string& path);
  // Takes over a block from std::malloc holding size bytes; frees it.
  static FileBytes Adopt(char* malloc_block, std::size_t size);
  // The first size bytes of the open file (a descriptor, or a Windows
  // HANDLE) mapped into memory; empty when it cannot be mapped.
  static FileBytes Map(std::intptr_t file, std::size_t size);

  FileBytes(FileBytes&& other) noexcept;
  FileBytes& operator=(FileBytes&& other) noexcept;
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;
  ~FileBytes();

  std::string_view view() const { return view_; }
  bool Mapped() const { return map_ != nullptr; }
  // False once part of a mapped file has vanished under the mapping
  // (another program cut the file short): those bytes read as zeros.
  bool Intact() const { return map_ == nullptr || MappingIntact(map_); }

 private:
  void Release();
  // Gives back a mapping made by Load; each system has its own way.
  static void Unmap(void* map, std::size_t size);
  static bool MappingIntact(const void* map);

  std::string owned_;
  char* heap_ = nullptr;
  void* map_ = nullptr;
  std::size_t map_size_ = 0;
  std::string_view view_;
};

}  // namespace junmaru
