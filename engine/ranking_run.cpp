#include "ranking_run.h"

#include <algorithm>

#include "download_tally.h"
#include "line_paths.h"
#include "messages.h"
#include "request_filter.h"

namespace junmaru {

namespace {

void ShowStatus(RunView& view, const std::string& text) {
  view.SetStatusText(text);
  view.RepaintNow();
}

// The scan's gauge values k × 900 ÷ length for k = 0, 1, 2, ..., found by
// adding instead of dividing: a division per log line is a measurable
// share of a large run.
class ScanGauge {
 public:
  explicit ScanGauge(long long length) : length_(length) {}
  long long Value() const { return value_; }
  void Step() {
    for (rest_ += 900; rest_ >= length_; rest_ -= length_) ++value_;
  }

 private:
  long long length_;
  long long value_ = 0;
  long long rest_ = 0;  // k × 900 − value_ × length_
};

// Takes the download paths of the scanned lines in line order, drops what
// the filter drops, hands the rest to the tally in batches (see
// CountPaths) and moves the gauge after every line.
class PathCounter {
 public:
  PathCounter(const RunSettings& settings, long long length, RunView& view, DownloadTally& tally)
      : filter_(settings), gauge_(length), view_(view), tally_(tally) {}

  void Take(const LinePath* paths, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
      // The paths' bytes were read on the other thread's processor;
      // fetching a few ahead overlaps their transfer with the counting.
      if (i + 8 < n && paths[i + 8]) {
        __builtin_prefetch(paths[i + 8]->data());
        __builtin_prefetch(paths[i + 8]->data() + paths[i + 8]->size());
      }
      if (paths[i] && !filter_.Drops(*paths[i])) {
        batch_[pending_++] = *paths[i];
        if (pending_ == DownloadTally::kBatch) Flush();
      }
      view_.SetProgress(gauge_.Value());
      gauge_.Step();
    }
  }
  void Flush() {
    tally_.CountPaths(batch_, pending_);
    pending_ = 0;
  }

 private:
  const RequestFilter filter_;
  ScanGauge gauge_;
  RunView& view_;
  DownloadTally& tally_;
  std::string_view batch_[DownloadTally::kBatch];
  std::size_t pending_ = 0;
};

void Scan(const LogLines& lines, const RunSettings& settings, RunView& view, DownloadTally& tally) {
  if (settings.Period) {
    const PeriodLines& period = *settings.Period;
    PathCounter counter(settings, static_cast<long long>(period.count), view, tally);
    for (const LineSpan& span : period.spans)
      ForEachLinePath(lines, span.first, span.last - span.first + 1,
                      [&](const LinePath* paths, std::size_t n) { counter.Take(paths, n); });
    counter.Flush();
    return;
  }
  const long long first = settings.PStart - 1;
  const long long length = settings.PEnd - settings.PStart + 1;
  // The lines of the range that lie in the log are read one after another;
  // the first one outside it, if any, is read with At, which fails there.
  const long long count = static_cast<long long>(lines.Count());
  const long long inside = first < 0 ? 0 : std::clamp(count - first, 0LL, length < 0 ? 0LL : length);
  if (inside > 0) {
    PathCounter counter(settings, length, view, tally);
    ForEachLinePath(lines, static_cast<std::size_t>(first), static_cast<std::size_t>(inside),
                    [&](const LinePath* paths, std::size_t n) { counter.Take(paths, n); });
    counter.Flush();
  }
  // A range that leaves the log stops at its first line outside it, with
  // the list index error.
  if (inside < length) lines.At(first + inside);
}

// Orders the tally once, by count and among equal counts by path, then
// turns its entries into ranked entries (gauge 900 to 950). The order is
// total, so reading the ordered tally gives the list that rotating every
// count entry and sorting the ranked entries gives.
std::vector<RankedEntry> Rank(DownloadTally& tally, RunView& view) {
  const long long n = static_cast<long long>(tally.Size());
  if (n >= 2) tally.OrderForRanking();
  const auto& tallied = tally.Entries();
  std::vector<RankedEntry> entries;
  entries.reserve(tallied.size());
  for (long long j = 0; j < n; ++j) {
    entries.push_back({tallied[j].count, tallied[j].latest});
    view.SetProgress(n == 1 ? 900 : 900 + j * 50 / (n - 1));
  }
  if (n == 0) view.SetProgress(900);
  if (n >= 2) ShowStatus(view, messages::StatusWritingHtml());
  return entries;
}

}  // namespace

Ranking RunRanking(const LogLines& lines, const RunSettings& settings, RunView& view) {
  DownloadTally tally;
  view.SetProgress(0);
  view.SetGaugeBackground(GaugeBackground::kRunning);
  ShowStatus(view, messages::StatusScanning());

  Scan(lines, settings, view, tally);
  lines.CheckUnchanged();
  ShowStatus(view, messages::StatusTallying());

  Ranking ranking;
  ranking.entries = Rank(tally, view);
  const std::size_t places = settings.TopCount > 0 ? static_cast<std::size_t>(settings.TopCount) : 0;
  for (std::size_t j = 0; j < ranking.Size() && j < places; ++j) ranking.top_total += ranking.Place(j).count;
  return ranking;
}

}  // namespace junmaru
