#pragma once

// Every line of the loaded log, without line terminators, in the compact
// form a large log needs: the file's bytes held once, plus the offset at
// which each line starts. A line's end is found from the next line's start
// by stepping back over its terminator.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "file_bytes.h"

namespace junmaru {

class LogLines {
 public:
  LogLines() = default;
  // The lines of a text by the file rules (for tests and callers that
  // already hold the bytes).
  static LogLines FromBytes(std::string bytes) { return Split(FileBytes(std::move(bytes))); }

  std::size_t Count() const { return starts_.empty() ? 0 : starts_.size() - 1; }
  bool Empty() const { return Count() == 0; }

  // Line index (0-based); fails with the list index error outside the list.
  std::string_view At(long long index) const;
  // Unchecked access for the scan; index < Count().
  std::string_view operator[](std::size_t index) const {
    std::size_t begin = starts_[index];
    std::size_t end = starts_[index + 1];
    // Step back over the terminator (CR LF, CR or LF); a line holds neither.
    const char* bytes = bytes_.view().data();
    if (end > begin && bytes[end - 1] == '\n') --end;
    if (end > begin && bytes[end - 1] == '\r') --end;
    return {bytes + begin, end - begin};
  }

  // Where line index (< Count()) begins in memory, found without reading
  // the line: for asking the memory for lines ahead of the scan.
  const char* Begin(std::size_t index) const { return bytes_.view().data() + starts_[index]; }

  // Replaces the lines with those of the file; on failure nothing changes.
  // Fails with "ファイル %s は開けません".
  void LoadFromFile(const std::string& path);

 private:
  static LogLines Split(FileBytes bytes);

  FileBytes bytes_;
  // starts_[i] is where line i begins; the last element is where the text
  // after the last line begins (its end, or the NUL that ended it).
  std::vector<std::uint64_t> starts_;
};

}  // namespace junmaru
