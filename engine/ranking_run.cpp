#include "ranking_run.h"

#include <algorithm>

#include "download_tally.h"
#include "line_paths.h"
#include "messages.h"
#include "request_filter.h"

namespace junmaru {

std::string RevStr(std::string_view s) {
  std::size_t cut = s.size() - 5;
  std::string out(s.substr(cut));
  out.append(s.substr(0, cut));
  return out;
}

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

void Scan(const LogLines& lines, const RunSettings& settings, RunView& view, DownloadTally& tally) {
  const RequestFilter filter(settings);
  const long long first = settings.PStart - 1;
  const long long length = settings.PEnd - settings.PStart + 1;
  // The lines of the range that lie in the log are read one after another;
  // the first one outside it, if any, is read with At, which fails there.
  const long long count = static_cast<long long>(lines.Count());
  const long long inside = first < 0 ? 0 : std::clamp(count - first, 0LL, length < 0 ? 0LL : length);
  // The paths go to the tally in batches (see CountPaths), in line order;
  // the gauge still moves after every line.
  std::string_view batch[DownloadTally::kBatch];
  std::size_t pending = 0;
  if (inside > 0) {
    ScanGauge gauge(length);
    ForEachLinePath(lines, static_cast<std::size_t>(first), static_cast<std::size_t>(inside),
                    [&](const LinePath* paths, std::size_t n) {
                      for (std::size_t i = 0; i < n; ++i) {
                        if (paths[i] && !filter.Drops(*paths[i])) {
                          batch[pending++] = *paths[i];
                          if (pending == DownloadTally::kBatch) {
                            tally.CountPaths(batch, pending);
                            pending = 0;
                          }
                        }
                        view.SetProgress(gauge.Value());
                        gauge.Step();
                      }
                    });
  }
  tally.CountPaths(batch, pending);
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
  view.SetGaugeBackground(colours::kWhite);
  ShowStatus(view, messages::StatusScanning());

  Scan(lines, settings, view, tally);
  ShowStatus(view, messages::StatusTallying());

  Ranking ranking;
  ranking.entries = Rank(tally, view);
  const std::size_t places = settings.PRank > 0 ? static_cast<std::size_t>(settings.PRank) : 0;
  for (std::size_t j = 0; j < ranking.Size() && j < places; ++j) ranking.top_total += ranking.Place(j).count;
  return ranking;
}

}  // namespace junmaru
