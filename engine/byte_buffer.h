#pragma once

// A block of bytes that grows in place: the memory comes from malloc and
// grows with realloc, which for a large block moves pages instead of
// copying them where the system can, so a log assembled piece by piece
// never needs a second copy of itself. The bytes past size() up to
// capacity() are room to write into before calling Grow.

#include <cstddef>
#include <string_view>

#include "file_bytes.h"

namespace junmaru {

class ByteBuffer {
 public:
  ByteBuffer() = default;
  ByteBuffer(ByteBuffer&& other) noexcept;
  ByteBuffer& operator=(ByteBuffer&& other) noexcept;
  ByteBuffer(const ByteBuffer&) = delete;
  ByteBuffer& operator=(const ByteBuffer&) = delete;
  ~ByteBuffer();

  std::size_t size() const { return size_; }
  std::size_t capacity() const { return capacity_; }
  std::string_view view() const { return {data_, size_}; }

  // Room for at least total bytes in all; false, with nothing changed,
  // when the memory cannot be had.
  bool Reserve(std::size_t total);
  // Where the room after the bytes begins, and taking n bytes written there.
  char* End() { return data_ + size_; }
  void Grow(std::size_t n) { size_ += n; }
  void Truncate(std::size_t n) {
    if (n < size_) size_ = n;
  }

  // The bytes, trimmed to their size, as file bytes; the buffer is empty after.
  FileBytes Release();

 private:
  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace junmaru
