#include "ranking_run.h"

#include <algorithm>

#include "counting_rules.h"
#include "download_tally.h"
#include "file_clients.h"
#include "line_paths.h"
#include "messages.h"
#include "path_decode.h"
#include "rank_changes.h"
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

// The paths' bytes were read on the other thread's processor; the counting
// side fetches a few lines ahead, so that their transfer overlaps the
// counting.
void PrefetchPath(const LinePath& item) {
  if (item.kind != LinePath::Kind::kDownload) return;
  __builtin_prefetch(item.path.data());
  __builtin_prefetch(item.path.data() + item.path.size());
}
// With the counting rules, the client's fields are read on this side too,
// unless the reading side read them: the address and the timestamp at the
// line's start, the user agent at its end.
void PrefetchPath(const RuledLine& item) {
  if (item.kind == LinePath::Kind::kNone) return;
  __builtin_prefetch(item.path.data());
  __builtin_prefetch(item.path.data() + item.path.size());
  if (item.client_read) return;
  __builtin_prefetch(item.line.data());
  __builtin_prefetch(item.line.data() + item.line.size() / 2 + item.line.size() / 4);
  __builtin_prefetch(item.line.data() + item.line.size());
}

// Takes the download paths of the scanned lines in line order, drops what
// the filter drops, hands the rest to the tally in batches (see
// CountPaths) and moves the gauge after every line: today's rules.
class PathCounter {
 public:
  using Item = LinePath;
  // Today's rules read no client: there are never downloaders to note.
  PathCounter(const RunSettings& settings, ScanGauge& gauge, RunView& view, DownloadTally& tally, FileClients*)
      : filter_(settings), gauge_(gauge), view_(view), tally_(tally) {}

  static LinePath Read(std::string_view line, bool /*spare*/) { return LinePath::Read(line); }
  void Take(const LinePath* paths, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
      if (i + 8 < n) PrefetchPath(paths[i + 8]);
      if (paths[i].kind != LinePath::Kind::kNone && !filter_.Drops(paths[i].path)) {
        if (paths[i]) {
          batch_[pending_++] = paths[i].path;
          if (pending_ == DownloadTally::kBatch) Flush();
        } else {
          ++other_http_;  // a line only AnyHttp reads
        }
      }
      view_.SetProgress(gauge_.Value());
      gauge_.Step();
    }
  }
  void Flush() {
    tally_.CountPaths(batch_, pending_);
    pending_ = 0;
  }
  std::int64_t OtherHttpLines() const { return other_http_; }

 private:
  const RequestFilter filter_;
  ScanGauge& gauge_;
  RunView& view_;
  DownloadTally& tally_;
  std::string_view batch_[DownloadTally::kBatch];
  std::size_t pending_ = 0;
  std::int64_t other_http_ = 0;
};

// The same with counting rules on (counting_rules.h): the lines are read
// by LineRules and counted by a RuledCounter.
class RuledLineCounter {
 public:
  using Item = RuledLine;
  RuledLineCounter(const RunSettings& settings, ScanGauge& gauge, RunView& view, DownloadTally& tally,
                   FileClients* downloaders)
      : counter_(settings, tally, downloaders),
        rules_(settings, counter_.TellsClients()),
        gauge_(gauge),
        view_(view) {}

  RuledLine Read(std::string_view line, bool spare) { return rules_.Read(line, spare); }
  void Take(const RuledLine* lines, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
      if (i + 24 < n) PrefetchPath(lines[i + 24]);
      counter_.Take(lines[i]);
      view_.SetProgress(gauge_.Value());
      gauge_.Step();
    }
  }
  void Flush() { counter_.Flush(); }
  std::int64_t OtherHttpLines() const { return counter_.OtherHttpLines(); }

 private:
  RuledCounter counter_;
  LineRules rules_;  // the reading thread's, while the scan lasts; reads the clients the counter tells apart
  ScanGauge& gauge_;
  RunView& view_;
};

// Reads the lines first to first + count - 1 by the counter's rules and
// counts them.
template <class Counter>
void CountLines(const LogLines& lines, std::size_t first, std::size_t count, Counter& counter) {
  ForEachLine<typename Counter::Item>(
      lines, first, count, [&counter](std::string_view line, bool spare) { return counter.Read(line, spare); },
      [&counter](const typename Counter::Item* items, std::size_t n) { counter.Take(items, n); });
}

// Counts the lines of the spans.
template <class Counter>
void CountSpans(const LogLines& lines, const std::vector<LineSpan>& spans, Counter& counter) {
  for (const LineSpan& span : spans) CountLines(lines, span.first, span.last - span.first + 1, counter);
  counter.Flush();
}

// Scans the chosen lines (the period's, or the range's) into the tally
// and, when previous is given, the previous period's lines into it by the
// same rules, each line read once, the gauge going over both; returns how
// many of the chosen lines only AnyHttp would have counted. The
// downloaders, when asked for, are those of the chosen lines; the previous
// period has none, so it may be read by a counter that reads no clients.
template <class Counter, class PreviousCounter = Counter>
std::int64_t Scan(const LogLines& lines, const RunSettings& settings, RunView& view, DownloadTally& tally,
                  DownloadTally* previous, FileClients* downloaders) {
  const PeriodLines* before = previous && settings.Previous ? &settings.Previous->lines : nullptr;
  const long long before_count = before ? static_cast<long long>(before->count) : 0;
  const auto count_previous = [&](ScanGauge& gauge) {
    if (!before) return;
    PreviousCounter counter(settings, gauge, view, *previous, nullptr);
    CountSpans(lines, before->spans, counter);
  };
  if (settings.Period) {
    const PeriodLines& period = *settings.Period;
    ScanGauge gauge(static_cast<long long>(period.count) + before_count);
    if (downloaders) downloaders->Reserve(period.count);
    Counter counter(settings, gauge, view, tally, downloaders);
    CountSpans(lines, period.spans, counter);
    count_previous(gauge);
    return counter.OtherHttpLines();
  }
  const long long first = settings.PStart - 1;
  const long long length = settings.PEnd - settings.PStart + 1;
  // The lines of the range that lie in the log are read one after another;
  // the first one outside it, if any, is read with At, which fails there.
  const long long count = static_cast<long long>(lines.Count());
  const long long inside = first < 0 ? 0 : std::clamp(count - first, 0LL, length < 0 ? 0LL : length);
  std::int64_t other_http = 0;
  ScanGauge gauge(std::max(length, 0LL) + before_count);
  if (inside > 0) {
    if (downloaders) downloaders->Reserve(static_cast<std::size_t>(inside));
    Counter counter(settings, gauge, view, tally, downloaders);
    CountLines(lines, static_cast<std::size_t>(first), static_cast<std::size_t>(inside), counter);
    counter.Flush();
    other_http = counter.OtherHttpLines();
  }
  // A range that leaves the log stops at its first line outside it, with
  // the list index error.
  if (inside < length) lines.At(first + inside);
  count_previous(gauge);
  return other_http;
}

// Orders the tally once, by count and among equal counts by path, then
// turns its entries into ranked entries (gauge 900 to 950). The order is
// total, so reading the ordered tally gives the list that rotating every
// count entry and sorting the ranked entries gives.
// Under Decode, each entry's name is the decoded text of its latest
// spelling, kept in names. With first_met, it also gives each entry's
// index in the tally from before the order.
std::vector<RankedEntry> Rank(DownloadTally& tally, bool decode, ByteArena& names, RunView& view,
                              std::vector<std::uint32_t>* first_met) {
  const long long n = static_cast<long long>(tally.Size());
  if (n >= 2) tally.OrderForRanking(first_met);
  else if (first_met) first_met->assign(static_cast<std::size_t>(n), 0);
  const auto& tallied = tally.Entries();
  std::vector<RankedEntry> entries;
  entries.reserve(tallied.size());
  std::string decoded;
  for (long long j = 0; j < n; ++j) {
    const std::string_view latest = tallied[j].latest;
    std::string_view name = latest;
    if (decode) {
      name = DecodePath(latest, decoded);
      if (name.data() == decoded.data()) name = names.Store(name.data(), name.size());
    }
    entries.push_back({tallied[j].count, latest, name});
    view.SetProgress(n == 1 ? 900 : 900 + j * 50 / (n - 1));
  }
  if (n == 0) view.SetProgress(900);
  if (n >= 2) ShowStatus(view, messages::StatusWritingHtml());
  return entries;
}

}  // namespace

Ranking RunRanking(const LogLines& lines, const RunSettings& settings, RunView& view) {
  DownloadTally tally;
  DownloadTally previous;
  view.SetProgress(0);
  view.SetGaugeBackground(GaugeBackground::kRunning);
  ShowStatus(view, messages::StatusScanning());

  Ranking ranking;
  DownloadTally* const before = settings.Trend ? &previous : nullptr;
  // The downloaders need each line's client, which the rules' reading half
  // reads; without a counting rule, the previous period, which has no
  // downloaders, is read by today's rules alone.
  FileClients downloaders;
  if (settings.CountRulesOn())
    ranking.other_http_lines =
        Scan<RuledLineCounter>(lines, settings, view, tally, before, settings.Clients ? &downloaders : nullptr);
  else if (settings.Clients)
    ranking.other_http_lines = Scan<RuledLineCounter, PathCounter>(lines, settings, view, tally, before, &downloaders);
  else
    ranking.other_http_lines = Scan<PathCounter>(lines, settings, view, tally, before, nullptr);
  lines.CheckUnchanged();
  ShowStatus(view, messages::StatusTallying());

  ranking.names = std::make_shared<ByteArena>();
  std::vector<std::uint32_t> first_met;
  ranking.entries = Rank(tally, settings.Decode, *ranking.names, view, settings.Clients ? &first_met : nullptr);
  const std::size_t places = settings.TopCount > 0 ? static_cast<std::size_t>(settings.TopCount) : 0;
  for (std::size_t j = 0; j < ranking.Size() && j < places; ++j) ranking.top_total += ranking.Place(j).count;
  if (settings.Clients) {
    std::vector<std::uint32_t> shown;
    for (std::size_t j = 0; j < ranking.Size() && j < places; ++j) shown.push_back(first_met[ranking.Size() - 1 - j]);
    ranking.clients = downloaders.Count(shown);
  }
  if (settings.Trend) {
    if (previous.Size() >= 2) previous.OrderForRanking();
    ranking.previous_ranks = PreviousRanks(tally, places, previous);
  }
  return ranking;
}

}  // namespace junmaru
