#include "line_index.h"

#include <algorithm>

namespace junmaru {

LineIndex::LineIndex(std::string_view bytes) {
  const char* base = bytes.data();
  const std::size_t size = bytes.size();
  // Room for a checkpoint per block; what stays unused is never given pages.
  checkpoints_.reserve(size / kBlockBytes + 2);
  checkpoints_.push_back({0, 0});
  text_size_ = size;
  std::uint64_t breaks = 0;      // line breaks before the current 64 bytes
  bool cr_before = false;        // the byte before them is a CR
  std::size_t marked_block = 0;  // the last block with a checkpoint (block 0 has line 0)
  for (std::size_t at = 0; at < size; at += 64) {
    ByteMasks m = MasksAt(base, size, at);
    if (m.nul != 0) {
      // The text ends at the first NUL: nothing from there on counts.
      const std::uint64_t before = (m.nul & (~m.nul + 1)) - 1;
      m.cr &= before;
      m.lf &= before;
      text_size_ = at + static_cast<std::size_t>(__builtin_ctzll(m.nul));
    }
    // Every CR is a break, and so is every LF but the one of a CR LF.
    const std::uint64_t crlf_lf = m.lf & ((m.cr << 1) | (cr_before ? 1 : 0));
    const std::uint64_t line_ends = m.cr | (m.lf & ~crlf_lf);
    cr_before = (m.cr >> 63) != 0;
    if (line_ends != 0 && at / kBlockBytes != marked_block) {
      const std::size_t end = at + static_cast<std::size_t>(__builtin_ctzll(line_ends));
      const std::size_t next = end + 1 + ((end + 1 < size && base[end] == '\r' && base[end + 1] == '\n') ? 1 : 0);
      checkpoints_.push_back({breaks + 1, next});
      marked_block = at / kBlockBytes;
    }
    breaks += CountBits(line_ends);
    if (m.nul != 0) break;
  }
  // A last line without a break of its own.
  const bool open_line = text_size_ > 0 && base[text_size_ - 1] != '\n' && base[text_size_ - 1] != '\r';
  count_ = static_cast<std::size_t>(breaks) + (open_line ? 1 : 0);
  // A checkpoint after the final break names no line.
  while (!checkpoints_.empty() && checkpoints_.back().line >= count_) checkpoints_.pop_back();
  checkpoints_.shrink_to_fit();
}

LineReader LineIndex::ReadFrom(std::string_view bytes, std::size_t index) const {
  // The last checkpoint at or before the line, then on line by line.
  const auto after = std::upper_bound(checkpoints_.begin(), checkpoints_.end(), std::uint64_t{index},
                                      [](std::uint64_t line, const Checkpoint& c) { return line < c.line; });
  const Checkpoint& from = *(after - 1);
  LineReader reader(bytes, text_size_, static_cast<std::size_t>(from.offset));
  for (std::uint64_t line = from.line; line < index; ++line) reader.Next();
  return LineReader(bytes, text_size_, reader.Position());
}

}  // namespace junmaru
