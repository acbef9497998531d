#pragma once

// Where the bytes of a file go while they are produced: written a piece at
// a time, so that nothing the size of the whole file need be held.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace junmaru {

class ByteSink {
 public:
  virtual void Write(std::string_view bytes) = 0;

 protected:
  ~ByteSink() = default;
};

// Appends every byte to a string.
class StringSink final : public ByteSink {
 public:
  explicit StringSink(std::string& out) : out_(out) {}
  void Write(std::string_view bytes) override { out_.append(bytes); }

 private:
  std::string& out_;
};

// Only counts the bytes.
class CountingSink final : public ByteSink {
 public:
  void Write(std::string_view bytes) override { size_ += bytes.size(); }
  std::uint64_t size() const { return size_; }

 private:
  std::uint64_t size_ = 0;
};

// Gathers the bytes into blocks and hands each full block to write_out,
// which returns false when it could not write it all. After the first
// failure the bytes that follow are dropped, and Finish says so.
class BlockSink final : public ByteSink {
 public:
  static constexpr std::size_t kBlockBytes = 128 << 10;

  explicit BlockSink(std::function<bool(std::string_view)> write_out);
  void Write(std::string_view bytes) override;
  // Hands on what is left; true when every byte was written.
  bool Finish();

 private:
  void Pass(std::string_view bytes);

  std::function<bool(std::string_view)> write_out_;
  std::string block_;
  bool failed_ = false;
};

}  // namespace junmaru
