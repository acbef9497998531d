#include "gzip_inflate.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#include "error.h"
#include "file_io.h"
#include "messages.h"

namespace junmaru {
namespace {

// Deflate cannot shrink data by more than about 1032 to 1: a length field
// promising more than that is not believed.
constexpr std::uint64_t kMaxRatio = 1032;
// zlib counts in unsigned int: larger spans are handed over in steps.
constexpr std::size_t kMaxStep = std::size_t{1} << 30;

// The gzip trailer's length field: the last member's size modulo 2^32.
std::uint64_t LengthField(std::string_view gzip) {
  if (gzip.size() < 18) return 0;
  const auto* tail = reinterpret_cast<const unsigned char*>(gzip.data() + gzip.size() - 4);
  return std::uint64_t{tail[0]} | std::uint64_t{tail[1]} << 8 | std::uint64_t{tail[2]} << 16 |
         std::uint64_t{tail[3]} << 24;
}

bool AllZero(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == '\0'; });
}

class Inflater {
 public:
  Inflater() {
    if (inflateInit2(&stream_, 16 + MAX_WBITS) != Z_OK) ok_ = false;
  }
  ~Inflater() {
    if (ok_) inflateEnd(&stream_);
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  bool ok() const { return ok_; }
  z_stream& stream() { return stream_; }

 private:
  z_stream stream_{};
  bool ok_ = true;
};

}  // namespace

bool IsGzip(std::string_view bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0x1F &&
         static_cast<unsigned char>(bytes[1]) == 0x8B;
}

void InflateGzip(std::string_view gzip, const std::string& path, ByteBuffer& out, std::size_t limit) {
  auto damaged = [&] { return Error(messages::GzipDamaged(PathForMessage(path))); };
  auto no_memory = [&] { return Error(messages::OutOfMemoryReading(PathForMessage(path))); };
  Inflater inflater;
  if (!inflater.ok()) throw no_memory();
  z_stream& z = inflater.stream();

  const std::size_t start = out.size();
  if (start >= limit) throw no_memory();
  // One byte more than promised, so the end of the stream is met with room
  // left; no more than the limit allows. Where that much cannot be had,
  // the text may still end early (at a NUL): start small and grow.
  const std::uint64_t hint = std::min<std::uint64_t>({LengthField(gzip), gzip.size() * kMaxRatio, limit - start - 1});
  if (!out.Reserve(start + static_cast<std::size_t>(hint) + 1) &&
      !out.Reserve(start + std::min<std::size_t>(static_cast<std::size_t>(hint), std::size_t{1} << 20) + 1))
    throw no_memory();

  std::size_t in_pos = 0;  // bytes of gzip handed to zlib
  for (;;) {
    if (z.avail_in == 0 && in_pos < gzip.size()) {
      const std::size_t step = std::min(gzip.size() - in_pos, kMaxStep);
      z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(gzip.data() + in_pos));
      z.avail_in = static_cast<uInt>(step);
      in_pos += step;
    }
    if (out.size() == out.capacity()) {
      // Out of room: the promised length was wrong (several members, or
      // more than 4 GB). Guess the whole from the share of input used.
      const std::size_t produced = out.size() - start;
      const std::uint64_t used = std::max<std::uint64_t>(in_pos - z.avail_in, 1);
      const std::uint64_t guess = static_cast<std::uint64_t>(
          static_cast<long double>(produced) * static_cast<long double>(gzip.size()) / static_cast<long double>(used));
      const std::size_t more = std::max<std::size_t>(
          {static_cast<std::size_t>(guess - std::min<std::uint64_t>(guess, produced)) + produced / 16,
           produced / 4, std::size_t{1} << 20});
      const std::size_t room_left = limit - out.capacity();
      if (room_left == 0 || !out.Reserve(out.capacity() + std::min(more, room_left))) throw no_memory();
    }
    const std::size_t before = out.size();
    const std::size_t room = std::min(out.capacity() - before, kMaxStep);
    z.next_out = reinterpret_cast<Bytef*>(out.End());
    z.avail_out = static_cast<uInt>(room);
    const int result = inflate(&z, Z_NO_FLUSH);
    out.Grow(room - z.avail_out);
    // The text ends at its first NUL: what follows is never read.
    const std::string_view fresh = out.view().substr(before);
    if (const void* nul = std::memchr(fresh.data(), '\0', fresh.size())) {
      out.Truncate(before + static_cast<std::size_t>(static_cast<const char*>(nul) - fresh.data()));
      return;
    }
    if (result == Z_STREAM_END) {
      const std::string_view rest = gzip.substr(in_pos - z.avail_in);
      if (rest.empty() || AllZero(rest)) return;  // zeros: padding some writers add
      if (!IsGzip(rest)) throw damaged();
      if (inflateReset(&z) != Z_OK) throw damaged();
      continue;
    }
    if (result == Z_MEM_ERROR) throw no_memory();
    if (result != Z_OK && result != Z_BUF_ERROR) throw damaged();
    // No progress with all input given: the file ends inside a member.
    if (z.avail_in == 0 && in_pos == gzip.size() && z.avail_out > 0) throw damaged();
  }
}

}  // namespace junmaru
