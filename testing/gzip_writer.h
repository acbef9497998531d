#pragma once

// gzip files written in the test, as gzip(1) writes them.

#include <zlib.h>

#include <cstdint>
#include <string>

namespace junmaru::testing {

// text compressed in one call of deflate with flush: window_bits 16 + 15
// writes a gzip member, -15 raw deflate blocks.
inline std::string Deflate(const std::string& text, int window_bits, int level, int flush) {
  z_stream z{};
  deflateInit2(&z, level, Z_DEFLATED, window_bits, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, text.size()) + 64, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  z.avail_in = static_cast<uInt>(text.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, flush);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// One gzip member holding text.
inline std::string Gzip(const std::string& text, int level = Z_DEFAULT_COMPRESSION) {
  return Deflate(text, 16 + MAX_WBITS, level, Z_FINISH);
}

// A gzip member holding chunk repeated times times, written without
// compressing it all: each copy of the chunk is a run of deflate blocks that
// refers to nothing before it, so the same bytes can stand repeated.
inline std::string RepeatedGzip(const std::string& chunk, std::uint64_t times) {
  const std::string block = Deflate(chunk, -MAX_WBITS, Z_BEST_COMPRESSION, Z_FULL_FLUSH);
  std::string file("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03", 10);
  file.reserve(file.size() + block.size() * times + 16);
  const uLong chunk_crc = crc32(0, reinterpret_cast<const Bytef*>(chunk.data()), static_cast<uInt>(chunk.size()));
  uLong crc = 0;
  for (std::uint64_t i = 0; i < times; ++i) {
    file += block;
    crc = crc32_combine(crc, chunk_crc, static_cast<z_off_t>(chunk.size()));
  }
  file += Deflate("", -MAX_WBITS, Z_BEST_COMPRESSION, Z_FINISH);
  const std::uint64_t size = chunk.size() * times;
  for (std::uint64_t field : {std::uint64_t{crc}, size})
    for (int k = 0; k < 4; ++k) file += static_cast<char>((field >> (8 * k)) & 0xFF);
  return file;
}

}  // namespace junmaru::testing
