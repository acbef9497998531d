// What FileBytes does alike on every system: taking over a block, moving
// and giving back; only mapping a file (Load, Unmap) differs by system.

#include "file_bytes.h"

#include <cstdlib>
#include <utility>

namespace junmaru {

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
  if (map_) Unmap(map_, map_size_);
  std::free(heap_);
  heap_ = nullptr;
  map_ = nullptr;
  map_size_ = 0;
  owned_.clear();
  view_ = {};
}

}  // namespace junmaru
