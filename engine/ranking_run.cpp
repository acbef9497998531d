#include "ranking_run.h"

#include <algorithm>

#include "download_tally.h"
#include "messages.h"
#include "request_filter.h"
#include "text_compare.h"

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

void Scan(const LogLines& lines, const RunSettings& settings, RunView& view, DownloadTally& tally) {
  const RequestFilter filter(settings);
  const long long first = settings.PStart - 1;
  const long long length = settings.PEnd - settings.PStart + 1;
  for (long long k = 0; k < length; ++k) {
    filter.Check(lines.At(first + k), tally);
    view.SetProgress(k * 900 / length);
  }
}

// Rotates every count entry into a ranked entry (gauge 900 to 950), then
// orders them once: by count, and among equal counts by path.
std::vector<RankedEntry> Rank(const DownloadTally& tally, RunView& view) {
  const auto& tallied = tally.Entries();
  const long long n = static_cast<long long>(tallied.size());
  std::vector<RankedEntry> entries;
  entries.reserve(tallied.size());
  for (long long j = 0; j < n; ++j) {
    entries.push_back({tallied[j].count, tallied[j].latest});
    view.SetProgress(n == 1 ? 900 : 900 + j * 50 / (n - 1));
  }
  if (n == 0) view.SetProgress(900);
  if (n >= 2) {
    std::sort(entries.begin(), entries.end(), [](const RankedEntry& a, const RankedEntry& b) {
      if (a.count != b.count) return a.count < b.count;
      return CompareText(a.path, b.path) < 0;
    });
    ShowStatus(view, messages::StatusWritingHtml());
  }
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
