#pragma once

// Where the lines of a text lie, without an offset per line. A log of
// short lines would need more memory for one offset per line than for its
// own bytes (200 MB of empty lines, 1.6 GB of offsets); this index keeps
// one checkpoint (a line's number and where it begins) for each 4 KB of
// text that holds a line break, under half a percent of the text, and
// finds any line by walking from the checkpoint before it: never across
// more than one 4 KB block before the line itself. A scan reads the lines
// one after another with a LineReader.
//
// The lines follow the file rules: a NUL byte ends the text; lines end at
// CR LF, at a lone CR and at a lone LF (so LF followed by CR is two breaks
// with an empty line between); a break at the very end adds no empty line;
// an empty text has no lines.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "line_split.h"

namespace junmaru {

// Reads lines one after another, from the start of a line of the text.
// Each call to Next must have a line left to read.
class LineReader {
 public:
  // bytes: the whole buffer (read 64 bytes at a time, never beyond its
  // end); text_size: the length of the text in it, before its NUL.
  LineReader(std::string_view bytes, std::size_t text_size, std::size_t start)
      : base_(bytes.data()), size_(bytes.size()), text_size_(text_size), pos_(start) {
    Load(start - start % 64);
  }

  // The line that begins here, without its terminator; moves to the next line.
  std::string_view Next() {
    const std::size_t begin = pos_ < text_size_ ? pos_ : text_size_;
    const std::size_t end = NextBreak();
    pos_ = end + 1;
    if (end + 1 < text_size_ && base_[end] == '\r' && base_[end + 1] == '\n') {
      ++pos_;
      // The LF of the pair is no break of its own.
      if (pos_ - chunk_ <= 64) candidates_ &= candidates_ - 1;
    }
    return {base_ + begin, end - begin};
  }
  // Where the next line begins.
  std::size_t Position() const { return pos_; }

 private:
  // Looks at the 64 bytes from chunk, leaving out those before pos_.
  [[gnu::always_inline]] void Load(std::size_t chunk) {
    chunk_ = chunk;
    candidates_ = EndCandidatesAt(base_, size_, chunk);
    if (pos_ > chunk) candidates_ &= pos_ - chunk < 64 ? ~std::uint64_t{0} << (pos_ - chunk) : 0;
  }
  // The first CR or LF from pos_ on, or the end of the text. A NUL ends
  // the line too: the text holds none (the first one ended it), so a NUL
  // means that the bytes changed after loading (the pages of a mapped
  // file that was cut short read as zeros), and each line then stops at
  // the first vanished byte instead of running on to the text's end.
  std::size_t NextBreak() {
    for (;;) {
      for (; candidates_ != 0; candidates_ &= candidates_ - 1) {
        const std::size_t at = chunk_ + static_cast<std::size_t>(__builtin_ctzll(candidates_));
        if (at >= text_size_) return text_size_;
        const char c = base_[at];
        if (c == '\n' || c == '\r' || c == '\0') {
          candidates_ &= candidates_ - 1;
          return at;
        }
      }
      if (chunk_ + 64 >= text_size_) return text_size_;
      Load(chunk_ + 64);
    }
  }

  const char* base_;
  std::size_t size_;
  std::size_t text_size_;
  std::size_t pos_;
  // The bytes from chunk_ to chunk_ + 64 that may end a line and that no
  // line read so far has passed, one bit each.
  std::size_t chunk_ = 0;
  std::uint64_t candidates_ = 0;
};

class LineIndex {
 public:
  static constexpr std::size_t kBytesForThread = std::size_t{16} << 20;

  LineIndex() = default;
  // Finds the lines of bytes in one pass; from bytes_for_thread on, and
  // with a second processor, the pass runs over the two halves at once.
  explicit LineIndex(std::string_view bytes, std::size_t bytes_for_thread = kBytesForThread);

  std::size_t Count() const { return count_; }
  // The length of the text: the bytes before the first NUL.
  std::size_t TextSize() const { return text_size_; }

  // A reader at line index (< Count()) of bytes, the buffer the index was built from.
  LineReader ReadFrom(std::string_view bytes, std::size_t index) const;

 private:
  static constexpr std::size_t kBlockBytes = 4096;
  struct Checkpoint {
    std::uint64_t line;    // a line's index
    std::uint64_t offset;  // where it begins
  };
  // The breaks of the text from one block's start on, up to another's or
  // the end, and the checkpoints of its blocks after the first break of
  // each (their lines counted from the stretch's start); text_end is
  // where a NUL ends the text in it, if one does.
  struct Stretch {
    std::uint64_t breaks = 0;
    std::vector<Checkpoint> checkpoints;
    std::size_t text_end = SIZE_MAX;
  };
  static Stretch IndexStretch(const char* base, std::size_t size, std::size_t from, std::size_t to);
  // Ascending in both fields; the first is line 0 at offset 0 (when there
  // are lines), then the line after the first break of each block that
  // holds one, as long as that line exists.
  std::vector<Checkpoint> checkpoints_;
  std::size_t count_ = 0;
  std::size_t text_size_ = 0;
};

}  // namespace junmaru
