#pragma once

// The bytes of a whole file, held for as long as they are needed. A large
// regular file is mapped into memory rather than copied, so that loading a
// log of hundreds of megabytes costs neither the copy nor fresh pages; any
// other input is read into memory.

#include <cstddef>
#include <string>
#include <string_view>

namespace junmaru {

class FileBytes {
 public:
  FileBytes() = default;
  explicit FileBytes(std::string bytes) : owned_(std::move(bytes)), view_(owned_) {}
  // Fails with "ファイル %s は開けません", like ReadWholeFile.
  static FileBytes Load(const std::string& path);
  // Takes over a block from std::malloc holding size bytes; frees it.
  static FileBytes Adopt(char* malloc_block, std::size_t size);

  FileBytes(FileBytes&& other) noexcept;
  FileBytes& operator=(FileBytes&& other) noexcept;
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;
  ~FileBytes();

  std::string_view view() const { return view_; }

 private:
  void Release();
  // Gives back a mapping made by Load; each system has its own way.
  static void Unmap(void* map, std::size_t size);

  std::string owned_;
  char* heap_ = nullptr;
  void* map_ = nullptr;
  std::size_t map_size_ = 0;
  std::string_view view_;
};

}  // namespace junmaru
