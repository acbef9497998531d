#include "memo_text.h"

#include "memo_line.h"

namespace junmaru::win32 {

std::vector<std::string> MemoTextLines(const std::string& cp932_text) {
  std::vector<std::string> lines;
  for (std::string_view line : junmaru::form::SplitMemoText(cp932_text)) lines.push_back(junmaru::form::CapMemoLine(line));
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
