#include "line_paths.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace junmaru {
namespace {

void FindPaths(LineReader& reader, LinePath* paths, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    // The slot was last read on the other thread's processor: asking for
    // its memory ahead, for writing, keeps the stores from queueing up.
    if (i + 16 < n) __builtin_prefetch(paths + i + 16, 1);
    paths[i] = RequestFilter::DownloadPath(reader.Next());
  }
}

// Batches going from the reading thread to the counting one through a
// ring of slots: batch b lives in slot b % kSlots, is written when the
// counting side has taken batch b - kSlots, and read once it is written.
class BatchRing {
 public:
  static constexpr std::size_t kSlots = 4;
  explicit BatchRing(std::size_t batch_lines)
      : batch_lines_(batch_lines), paths_(std::make_unique<LinePath[]>(kSlots * batch_lines)) {}

  LinePath* Slot(std::size_t batch) { return paths_.get() + (batch % kSlots) * batch_lines_; }

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
  std::unique_ptr<LinePath[]> paths_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t written_ = 0;  // batches written
  std::size_t taken_ = 0;    // batches taken
  bool stopped_ = false;
};

}  // namespace

void ForEachLinePath(const LogLines& lines, std::size_t first, std::size_t count,
                     const std::function<void(const LinePath* paths, std::size_t n)>& on_batch,
                     const LinePathsOptions& options) {
  if (count == 0) return;
  const std::size_t batch_lines = options.batch_lines;
  const std::size_t batches = (count + batch_lines - 1) / batch_lines;
  auto lines_in = [&](std::size_t batch) { return batch + 1 < batches ? batch_lines : count - batch * batch_lines; };

  if (count >= options.lines_for_thread && batches >= 2 && std::thread::hardware_concurrency() > 1) {
    BatchRing ring(batch_lines);
    std::thread reading;
    try {
      reading = std::thread([&] {
        LineReader reader = lines.ReadFrom(first);
        for (std::size_t b = 0; b < batches && ring.WaitToWrite(b); ++b) {
          FindPaths(reader, ring.Slot(b), lines_in(b));
          ring.Written(b);
        }
      });
    } catch (const std::system_error&) {
      // No second thread to be had: the lines are read below instead.
    }
    if (reading.joinable()) {
      // However the counting ends, the reading thread is told and joined first.
      struct Join {
        BatchRing& ring;
        std::thread& thread;
        ~Join() {
          ring.Stop();
          thread.join();
        }
      } join{ring, reading};
      for (std::size_t b = 0; b < batches; ++b) {
        ring.WaitToRead(b);
        on_batch(ring.Slot(b), lines_in(b));
        ring.Taken(b);
      }
      return;
    }
  }

  auto paths = std::make_unique<LinePath[]>(std::min(batch_lines, count));
  LineReader reader = lines.ReadFrom(first);
  for (std::size_t b = 0; b < batches; ++b) {
    FindPaths(reader, paths.get(), lines_in(b));
    on_batch(paths.get(), lines_in(b));
  }
}

}  // namespace junmaru
