#pragma once

// A writer for ReplaceFile that writes its bytes in small pieces, and the
// pages of rival saves.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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

// The pages of count rival saves: each of its own lines and length (unit
// bytes times 1 to 5), so that no mix of two is one of them.
inline std::vector<std::string> RivalPages(int count, std::size_t unit) {
  std::vector<std::string> pages;
  for (int i = 0; i < count; ++i) {
    const std::string line = "<tr><td>" + std::to_string(i) + "</td><td>" + std::string(i % 7 + 1, 'x') + "</td></tr>\r\n";
    std::string text;
    while (text.size() < unit * (1 + i % 5)) text += line;
    pages.push_back(text);
  }
  return pages;
}

}  // namespace junmaru::testing
