#include "memo_text.h"

#include "memo_line.h"

namespace junmaru::win32 {

std::vector<std::string> MemoTextLines(const std::string& cp932_text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < cp932_text.size()) {
    std::size_t end = cp932_text.find("\r\n", start);
    if (end == std::string::npos) end = cp932_text.size();
    lines.push_back(junmaru::form::CapMemoLine(std::string_view(cp932_text).substr(start, end - start)));
    start = end + 2;
  }
  return lines;
}

std::string MemoTextOf(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

}  // namespace junmaru::win32
