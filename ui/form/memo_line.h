#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "line_split.h"
#include "settings.h"

namespace junmaru::form {

// A memo line is read up to this many bytes, as a stored exclusion word
// is; the cut may split a double-byte character, as every byte cut does.
constexpr std::size_t kMemoLineMax = junmaru::kExclusionWordMax;

inline std::string CapMemoLine(std::string_view cp932_line) {
  return std::string(cp932_line.substr(0, kMemoLineMax));
}

// The lines of a memo's whole text, as the user typed them: the pieces
// between line breaks (CR LF, a lone CR or a lone LF), as a text file's
// lines are split. Word wrap only displays a long line on several rows; it
// is still one line. The empty piece after a final line break is no line,
// so an empty memo has none. The lines are not cut yet.
inline std::vector<std::string_view> SplitMemoText(std::string_view text) {
  std::vector<std::string_view> lines;
  junmaru::SplitLines(text, [&](std::size_t begin, std::size_t end) { lines.push_back(text.substr(begin, end - begin)); });
  return lines;
}

}  // namespace junmaru::form
