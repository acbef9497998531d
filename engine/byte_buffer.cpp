#include "byte_buffer.h"

#include <cstdlib>
#include <utility>

namespace junmaru {

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept { *this = std::move(other); }

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
  if (this != &other) {
    std::free(data_);
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
  }
  return *this;
}

ByteBuffer::~ByteBuffer() { std::free(data_); }

bool ByteBuffer::Reserve(std::size_t total) {
  if (total <= capacity_) return true;
  void* grown = std::realloc(data_, total);
  if (!grown) return false;
  data_ = static_cast<char*>(grown);
  capacity_ = total;
  return true;
}

FileBytes ByteBuffer::Release() {
  if (size_ == 0) {
    *this = ByteBuffer();
    return FileBytes();
  }
  // Shrinking gives back the room that was never written.
  if (size_ < capacity_) {
    if (void* trimmed = std::realloc(data_, size_)) data_ = static_cast<char*>(trimmed);
  }
  FileBytes bytes = FileBytes::Adopt(std::exchange(data_, nullptr), size_);
  size_ = capacity_ = 0;
  return bytes;
}

}  // namespace junmaru
