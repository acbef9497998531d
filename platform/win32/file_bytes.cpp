#include "file_bytes.h"

#include <windows.h>

#include <cstdlib>
#include <utility>

#include "error.h"
#include "file_io.h"
#include "file_messages.h"

namespace junmaru {
namespace {

// Files smaller than this are read; mapping pays off only for big ones.
constexpr std::size_t kMapThreshold = 1 << 20;

}  // namespace

FileBytes FileBytes::Load(const std::string& path) {
  // Opened as ReadWholeFile opens it: shared for reading only. A file that
  // has a view mapped cannot be cut short by another program, so the view
  // stays readable to its end without any handler.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  LARGE_INTEGER size{};
  const bool mappable = file != INVALID_HANDLE_VALUE && GetFileType(file) == FILE_TYPE_DISK &&
                        GetFileSizeEx(file, &size) &&
                        static_cast<unsigned long long>(size.QuadPart) >= kMapThreshold;
  HANDLE mapping = mappable ? CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr) : nullptr;
  void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
  // The view keeps the mapping and the file alive by itself.
  if (mapping) CloseHandle(mapping);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (!view) return FileBytes(ReadWholeFile(path));
  FileBytes bytes;
  bytes.map_ = view;
  bytes.map_size_ = static_cast<std::size_t>(size.QuadPart);
  bytes.view_ = std::string_view(static_cast<const char*>(view), bytes.map_size_);
  return bytes;
}

FileBytes FileBytes::Adopt(char* malloc_block, std::size_t size) {
  FileBytes bytes;
  bytes.heap_ = malloc_block;
  bytes.view_ = std::string_view(malloc_block, size);
  return bytes;
}

FileBytes::FileBytes(FileBytes&& other) noexcept { *this = std::move(other); }

FileBytes& FileBytes::operator=(FileBytes&& other) noexcept {
  if (this == &other) return *this;
  Release();
  const bool owned = other.map_ == nullptr && other.heap_ == nullptr;
  owned_ = std::move(other.owned_);
  heap_ = std::exchange(other.heap_, nullptr);
  map_ = std::exchange(other.map_, nullptr);
  map_size_ = std::exchange(other.map_size_, 0);
  view_ = owned ? std::string_view(owned_) : other.view_;
  other.view_ = {};
  return *this;
}

FileBytes::~FileBytes() { Release(); }

void FileBytes::Release() {
  if (map_) UnmapViewOfFile(map_);
  std::free(heap_);
  heap_ = nullptr;
  map_ = nullptr;
  map_size_ = 0;
  owned_.clear();
  view_ = {};
}

}  // namespace junmaru
