#pragma once

// A writer for ReplaceFile that writes its bytes in small pieces.

#include <stdexcept>
#include <string>
#include <string_view>

#include "file_io.h"

namespace junmaru::testing {

// Writes data in pieces of 1000 bytes; at the piece that would pass
// throw_after bytes, throws instead.
inline FileWriter PieceWriter(const std::string& data, std::size_t throw_after = std::string::npos) {
  return [&data, throw_after](ByteSink& sink) {
    for (std::size_t at = 0; at < data.size(); at += 1000) {
      if (at >= throw_after) throw std::runtime_error("writer failed");
      sink.Write(std::string_view(data).substr(at, 1000));
    }
  };
}

}  // namespace junmaru::testing
