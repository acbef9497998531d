#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace junmaru::form {

// A memo line is read up to this many bytes; the cut may split a
// double-byte character, as every byte cut does.
constexpr std::size_t kMemoLineMax = 4096;

inline std::string CapMemoLine(std::string_view cp932_line) {
  return std::string(cp932_line.substr(0, kMemoLineMax));
}

// The lines of a memo's whole text, as the user typed them: the pieces
// between line breaks (CR LF, a lone CR or a lone LF). Word wrap only
// displays a long line on several rows; it is still one line. The empty
// piece after a final line break is no line, so an empty memo has none.
// The lines are not cut yet.
inline std::vector<std::string_view> SplitMemoText(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

}  // namespace junmaru::form
