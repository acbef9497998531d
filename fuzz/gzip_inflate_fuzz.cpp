// The gzip reader on any bytes, with a memory cap: a decompression bomb is
// refused with the memory message once its text would pass the cap, never
// by exhausting memory; the text never holds a NUL (it ends at the first);
// a failure is one of the two messages that name the file.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "byte_buffer.h"
#include "error.h"
#include "gzip_inflate.h"
#include "messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace junmaru;
  constexpr std::size_t kCap = std::size_t{16} << 20;
  const std::string_view gzip(reinterpret_cast<const char*>(data), size);
  ByteBuffer out;
  try {
    InflateGzip(gzip, "fuzz.gz", out, kCap);
  } catch (const Error& e) {
    if (e.what() != messages::GzipDamaged("fuzz.gz") && e.what() != messages::OutOfMemoryReading("fuzz.gz"))
      std::abort();
  }
  if (out.size() > kCap || out.capacity() > kCap) std::abort();
  if (std::memchr(out.view().data(), '\0', out.size())) std::abort();
  return 0;
}
