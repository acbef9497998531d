#include "line_index.h"

#include <algorithm>
#include <cstdint>
#include <future>
#include <system_error>
#include <thread>

#include "simd_bytes.h"

namespace junmaru {

namespace {

// Counts the LFs of the 64-byte chunks from at up to end (a multiple of 64
// from at, at most one block) as long as a chunk holds no CR and no NUL:
// in such a chunk every LF is a line break and nothing else is. Returns
// where it stopped: end, or the first chunk that holds a CR or a NUL.
std::size_t CountPlainBreaks(const char* base, std::size_t at, std::size_t end, std::uint64_t& breaks) {
#if defined(__SSE2__)
  // Each byte of the sums counts the LFs at its place in two of a chunk's
  // four sixteen-byte parts: at most 128 in a block, no overflow.
  __m128i sum_a = _mm_setzero_si128(), sum_b = _mm_setzero_si128();
  for (; at < end; at += 64) {
    const Bytes64 bytes(base + at);
    if (!bytes.None([](__m128i v) { return _mm_or_si128(IsCr(v), IsNul(v)); })) break;
    sum_a = _mm_sub_epi8(sum_a, _mm_add_epi8(IsLf(bytes.v[0]), IsLf(bytes.v[1])));
    sum_b = _mm_sub_epi8(sum_b, _mm_add_epi8(IsLf(bytes.v[2]), IsLf(bytes.v[3])));
  }
  const __m128i total = _mm_add_epi64(_mm_sad_epu8(sum_a, _mm_setzero_si128()), _mm_sad_epu8(sum_b, _mm_setzero_si128()));
  breaks += static_cast<std::uint64_t>(_mm_cvtsi128_si64(total)) +
            static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(total, total)));
#else
  (void)base;
  (void)end;
  (void)breaks;
#endif
  return at;
}

}  // namespace

LineIndex::Stretch LineIndex::IndexStretch(const char* base, std::size_t size, std::size_t from, std::size_t to) {
  Stretch stretch;
  // Room for a checkpoint per block up to the text's end, so that the
  // second half's checkpoints join the first's where they are; what stays
  // unused is never given pages.
  stretch.checkpoints.reserve((size - from) / kBlockBytes + 2);
  if (from == 0) stretch.checkpoints.push_back({0, 0});
  std::uint64_t breaks = 0;  // line breaks before the current 64 bytes
  // The byte before them is a CR: a LF that follows it is no break.
  bool cr_before = from > 0 && base[from - 1] == '\r';
  // The last block with a checkpoint; block 0 has line 0 already.
  std::size_t marked_block = from == 0 ? 0 : SIZE_MAX;
  std::size_t at = from;
  while (at < to) {
    // Once a block has its checkpoint, its other chunks only add to the
    // count: most of a log goes through this quick count of LFs.
    if (at / kBlockBytes == marked_block && !cr_before) {
      const std::size_t block_end = std::min((marked_block + 1) * kBlockBytes, size - size % 64);
      if (at < block_end) {
        if (const std::size_t stop = CountPlainBreaks(base, at, block_end, breaks); stop != at) {
          at = stop;
          continue;
        }
      }
    }
    ByteMasks m = MasksAt(base, size, at);
    if (m.nul != 0) {
      // The text ends at the first NUL: nothing from there on counts.
      const std::uint64_t before = (m.nul & (~m.nul + 1)) - 1;
      m.cr &= before;
      m.lf &= before;
      stretch.text_end = at + static_cast<std::size_t>(__builtin_ctzll(m.nul));
    }
    // Every CR is a break, and so is every LF but the one of a CR LF.
    const std::uint64_t crlf_lf = m.lf & ((m.cr << 1) | (cr_before ? 1 : 0));
    const std::uint64_t line_ends = m.cr | (m.lf & ~crlf_lf);
    cr_before = (m.cr >> 63) != 0;
    if (line_ends != 0 && at / kBlockBytes != marked_block) {
      const std::size_t end = at + static_cast<std::size_t>(__builtin_ctzll(line_ends));
      const std::size_t next = end + 1 + ((end + 1 < size && base[end] == '\r' && base[end + 1] == '\n') ? 1 : 0);
      stretch.checkpoints.push_back({breaks + 1, next});
      marked_block = at / kBlockBytes;
    }
    breaks += CountBits(line_ends);
    if (m.nul != 0) break;
    at += 64;
  }
  stretch.breaks = breaks;
  return stretch;
}

LineIndex::LineIndex(std::string_view bytes, std::size_t bytes_for_thread) {
  const char* base = bytes.data();
  const std::size_t size = bytes.size();
  // A large text is indexed in two halves at once, the second on a thread
  // of its own when there is a second processor to run it; the halves
  // meet at a block's start, so the checkpoints are those of one pass.
  const std::size_t half = size / 2 / kBlockBytes * kBlockBytes;
  std::future<Stretch> second;
  if (size >= bytes_for_thread && half > 0 && std::thread::hardware_concurrency() > 1) {
    try {
      second = std::async(std::launch::async, [=] { return IndexStretch(base, size, half, size); });
    } catch (const std::system_error&) {
      // No second thread to be had: one pass does it all.
    }
  }
  Stretch text = IndexStretch(base, size, 0, second.valid() ? half : size);
  if (second.valid()) {
    Stretch rest = second.get();
    if (text.text_end == SIZE_MAX) {
      for (const Checkpoint& c : rest.checkpoints) text.checkpoints.push_back({text.breaks + c.line, c.offset});
      text.breaks += rest.breaks;
      text.text_end = rest.text_end;
    }
  }
  checkpoints_ = std::move(text.checkpoints);
  text_size_ = std::min(text.text_end, size);
  // A last line without a break of its own.
  const bool open_line = text_size_ > 0 && base[text_size_ - 1] != '\n' && base[text_size_ - 1] != '\r';
  count_ = static_cast<std::size_t>(text.breaks) + (open_line ? 1 : 0);
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
