#pragma once

// Storage for many short byte strings that live as long as their owner:
// copies go into large blocks that never move, so a view of a stored copy
// stays valid, and no string costs an allocation of its own.

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace junmaru {

class ByteArena {
 public:
  // A copy of bytes[0, size) that lives as long as the arena.
  std::string_view Store(const char* bytes, std::size_t size) {
    if (size > left_) {
      const std::size_t block = size > kBlockSize ? size : kBlockSize;
      blocks_.push_back(std::make_unique_for_overwrite<char[]>(block));
      next_ = blocks_.back().get();
      left_ = block;
    }
    char* copy = next_;
    if (size > 0) std::memcpy(copy, bytes, size);
    next_ += size;
    left_ -= size;
    return {copy, size};
  }

 private:
  static constexpr std::size_t kBlockSize = 1 << 16;
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* next_ = nullptr;
  std::size_t left_ = 0;
};

}  // namespace junmaru
