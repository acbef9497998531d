#include "log_lines.h"

#include "error.h"
#include "line_split.h"
#include "messages.h"

namespace junmaru {

LogLines LogLines::Split(FileBytes bytes) {
  LogLines lines;
  lines.bytes_ = std::move(bytes);
  // Room for one line per 64 bytes, a little more than a web log needs:
  // the offsets then never move while they are written, and the room they
  // leave untouched is never given pages, so it costs no memory.
  lines.starts_.reserve(lines.bytes_.view().size() / 64 + 2);
  const std::size_t text_size =
      SplitLinesBeforeNul(lines.bytes_.view(), [&](std::size_t begin, std::size_t) { lines.starts_.push_back(begin); });
  if (!lines.starts_.empty()) lines.starts_.push_back(text_size);
  return lines;
}

std::string_view LogLines::At(long long index) const {
  if (index < 0 || static_cast<unsigned long long>(index) >= Count())
    throw Error(messages::ListIndexOutOfRange(index));
  return (*this)[static_cast<std::size_t>(index)];
}

void LogLines::LoadFromFile(const std::string& path) { *this = Split(FileBytes::Load(path)); }

}  // namespace junmaru
