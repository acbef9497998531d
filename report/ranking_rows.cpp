#include "ranking_rows.h"

#include "byte_string.h"
#include "cp932.h"
#include "html_escape.h"

namespace junmaru {

std::int64_t BarWidth(std::int64_t count, std::int64_t top_total, bool single_entry) {
  if (top_total <= 0) return 0;
  // count * 600 leaves 64 bits only for counts beyond 1.5e16; 128 bits
  // keep the exact result for every count the tally can hold.
  const __int128 numerator = static_cast<__int128>(count) * 600 - (single_entry ? 450 : 0);
  return static_cast<std::int64_t>(numerator / top_total);
}

std::string ShortName(std::string_view path, long long name_max) {
  const long long limit = 2 * name_max;
  if (static_cast<long long>(path.size()) <= limit) return std::string(path);
  std::string name = Sjis("(略)...");
  name.append(RightBytes(path, limit));
  return name;
}

RankingRows::RankingRows(const Ranking& ranking, const RunSettings& settings)
    : ranking_(ranking), settings_(settings), last_rank_label_(Sjis("1位")) {}

std::string RankingRows::NameCell(std::string_view path) const {
  // Shorten by the raw bytes, then escape what came from the log.
  std::string name = EscapeHtml(ShortName(path, settings_.NameMax));
  if (!settings_.Link) return name;
  std::string cell = "<a href=\"";
  cell += LinkTarget(settings_.Prefix, MidBytes(path, 2, static_cast<long long>(path.size())));
  cell += "\">";
  cell += name;
  cell += "</a>";
  return cell;
}

void RankingRows::Output(long long j, std::vector<std::string>& lines) {
  if (j >= settings_.PRank) return;
  const RankedEntry& entry = ranking_.Place(static_cast<std::size_t>(j));
  const std::int64_t count = entry.count;
  if (count != last_count_) last_rank_label_ = std::to_string(j + 1) + Sjis("位");
  last_count_ = count;

  const bool single_entry = ranking_.Size() == 1;
  std::string row = "<tr><td>";
  row += last_rank_label_;
  row += "</td><td>";
  row += NameCell(entry.path);
  row += "</td><td>";
  row += Sjis("<img src=\"gage.gif\" alt=\"DLゲージ\" width=\"");
  row += std::to_string(BarWidth(count, ranking_.top_total, single_entry));
  row += "\" height=\"10\"></td><td>";
  row += std::to_string(count);
  row += "</td></tr>";
  lines.push_back(std::move(row));
}

}  // namespace junmaru
