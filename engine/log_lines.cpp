#include "log_lines.h"

#include "error.h"
#include "line_split.h"
#include "messages.h"

namespace junmaru {

LogLines LogLines::Split(FileBytes bytes) {
  LogLines lines;
  lines.bytes_ = std::move(bytes);
  const std::size_t text_size =
      SplitLinesBeforeNul(lines.bytes_.view(), [&](std::size_t begin, std::size_t) { lines.starts_.push_back(begin); });
  if (!lines.starts_.empty()) lines.starts_.push_back(text_size);
  lines.starts_.shrink_to_fit();
  return lines;
}

std::string_view LogLines::At(long long index) const {
  if (index < 0 || static_cast<unsigned long long>(index) >= Count())
    throw Error(messages::ListIndexOutOfRange(index));
  return (*this)[static_cast<std::size_t>(index)];
}

void LogLines::LoadFromFile(const std::string& path) { *this = Split(FileBytes::Load(path)); }

}  // namespace junmaru
