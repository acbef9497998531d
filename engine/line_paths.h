#pragma once

// What a scan reads of each line of a range, handed over in line order.
// On a large range the lines are read (their paths cut out, and what the
// counting rules need besides) on a second thread, ahead of the caller,
// which filters and counts them: the two halves of the work take about as
// long each, so they overlap. The hand-over goes through a few batches of
// fixed size, so memory does not grow with the log.

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <string_view>
#include <system_error>
#include <thread>
#include <type_traits>

#include "log_lines.h"
#include "request_filter.h"

namespace junmaru {

// What today's rule reads of a line: its request path, of a download, or
// of a line it leaves out that the AnyHttp rule would read (a GET over
// another HTTP version, as HTTP/2), so that a run can say how many of
// those it passed over.
struct LinePath {
  enum class Kind : std::uint8_t { kNone, kDownload, kOtherHttp };
  std::string_view path;
  Kind kind = Kind::kNone;

  LinePath() = default;
  LinePath(std::optional<std::string_view> download)  // NOLINT: what DownloadPath gives
      : path(download.value_or(std::string_view())), kind(download ? Kind::kDownload : Kind::kNone) {}
  LinePath(std::string_view p, Kind k) : path(p), kind(k) {}
  // A download and its path, as DownloadPath gives them.
  explicit operator bool() const { return kind == Kind::kDownload; }
  std::string_view operator*() const { return path; }

  // A line read by today's rule.
  static LinePath Read(std::string_view line);
};

struct LinePathsOptions {
  std::size_t batch_lines = 4096;          // lines per hand-over
  std::size_t lines_for_thread = 1 << 18;  // shorter ranges stay on the calling thread
};

// Calls on_batch(items, n) on the calling thread with read(line) for the
// lines first, first + 1, ..., first + count - 1 (all inside lines), in
// order, n at a time. read runs on the second thread, or on the calling
// one; never on both. An exception from on_batch stops the reading and
// leaves this function once the second thread has ended.
// A read that takes read(line, spare) is told, batch by batch, whether the
// calling thread is behind, with whole batches waiting for it: work read
// takes over then would otherwise be time spent waiting.
template <class Item, class Read, class OnBatch>
void ForEachLine(const LogLines& lines, std::size_t first, std::size_t count, Read&& read, OnBatch&& on_batch,
                 const LinePathsOptions& options = {});

// ForEachLine with LinePath::Read.
template <class OnBatch>
void ForEachLinePath(const LogLines& lines, std::size_t first, std::size_t count, OnBatch&& on_batch,
                     const LinePathsOptions& options = {}) {
  ForEachLine<LinePath>(lines, first, count, LinePath::Read, on_batch, options);
}

namespace line_batches {

// Batches going from the reading thread to the counting one through a
// ring of slots: batch b lives in slot b % kSlots, is written when the
// counting side has taken batch b - kSlots, and read once it is written.
template <class Item>
class BatchRing {
 public:
  static constexpr std::size_t kSlots = 4;
  explicit BatchRing(std::size_t batch_lines)
      : batch_lines_(batch_lines), items_(std::make_unique<Item[]>(kSlots * batch_lines)) {}

  Item* Slot(std::size_t batch) { return items_.get() + (batch % kSlots) * batch_lines_; }

  // Reading side, before writing batch: whether every other slot holds a
  // batch the counting side has yet to take.
  bool Behind(std::size_t batch) {
    std::lock_guard lock(mutex_);
    return batch + 1 == taken_ + kSlots;
  }

  // Reading side: waits until batch may be written; false once the
  // counting side has stopped.
  bool WaitToWrite(std::size_t batch) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return stopped_ || batch < taken_ + kSlots; });
    return !stopped_;
  }
  void Written(std::size_t batch) { Set(written_, batch + 1); }

  // Counting side.
  void WaitToRead(std::size_t batch) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return batch < written_; });
  }
  void Taken(std::size_t batch) { Set(taken_, batch + 1); }
  void Stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    changed_.notify_all();
  }

 private:
  void Set(std::size_t& counter, std::size_t value) {
    std::lock_guard lock(mutex_);
    counter = value;
    changed_.notify_all();
  }

  const std::size_t batch_lines_;
  std::unique_ptr<Item[]> items_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t written_ = 0;  // batches written
  std::size_t taken_ = 0;    // batches taken
  bool stopped_ = false;
};

template <class Item, class Read>
void ReadBatch(LineReader& reader, Read& read, Item* items, std::size_t n, bool spare) {
  static_assert(std::is_trivially_destructible_v<Item>);
  constexpr bool kTold = std::is_invocable_v<Read&, std::string_view, bool>;
  for (std::size_t i = 0; i < n; ++i) {
    // The slot was last read on the other thread's processor: asking for
    // its memory ahead, for writing, keeps the stores from queueing up.
    if (i + 16 < n) __builtin_prefetch(items + i + 16, 1);
    // Built in its slot: a copy through the stack would store the item
    // in pieces and load it back whole, which the processor cannot forward.
    if constexpr (kTold)
      ::new (static_cast<void*>(items + i)) Item(read(reader.Next(), spare));
    else
      ::new (static_cast<void*>(items + i)) Item(read(reader.Next()));
  }
}

bool SecondProcessor();

}  // namespace line_batches

template <class Item, class Read, class OnBatch>
void ForEachLine(const LogLines& lines, std::size_t first, std::size_t count, Read&& read, OnBatch&& on_batch,
                 const LinePathsOptions& options) {
  if (count == 0) return;
  const std::size_t batch_lines = options.batch_lines;
  const std::size_t batches = (count + batch_lines - 1) / batch_lines;
  auto lines_in = [&](std::size_t batch) { return batch + 1 < batches ? batch_lines : count - batch * batch_lines; };

  if (count >= options.lines_for_thread && batches >= 2 && line_batches::SecondProcessor()) {
    line_batches::BatchRing<Item> ring(batch_lines);
    std::thread reading;
    try {
      reading = std::thread([&] {
        LineReader reader = lines.ReadFrom(first);
        for (std::size_t b = 0; b < batches && ring.WaitToWrite(b); ++b) {
          line_batches::ReadBatch(reader, read, ring.Slot(b), lines_in(b), ring.Behind(b));
          ring.Written(b);
        }
      });
    } catch (const std::system_error&) {
      // No second thread to be had: the lines are read below instead.
    }
    if (reading.joinable()) {
      // However the counting ends, the reading thread is told and joined first.
      struct Join {
        line_batches::BatchRing<Item>& ring;
        std::thread& thread;
        ~Join() {
          ring.Stop();
          thread.join();
        }
      } join{ring, reading};
      for (std::size_t b = 0; b < batches; ++b) {
        ring.WaitToRead(b);
        on_batch(static_cast<const Item*>(ring.Slot(b)), lines_in(b));
        ring.Taken(b);
      }
      return;
    }
  }

  auto items = std::make_unique<Item[]>(std::min(batch_lines, count));
  LineReader reader = lines.ReadFrom(first);
  for (std::size_t b = 0; b < batches; ++b) {
    line_batches::ReadBatch(reader, read, items.get(), lines_in(b), false);
    on_batch(static_cast<const Item*>(items.get()), lines_in(b));
  }
}

}  // namespace junmaru
