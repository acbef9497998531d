#pragma once

// gzip files written in the test, as gzip(1) writes them.

#include <zlib.h>

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

}  // namespace junmaru::testing
