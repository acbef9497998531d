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

ShownName NameShown(std::string_view path, long long name_max) {
  const long long limit = 2 * name_max;
  if (static_cast<long long>(path.size()) <= limit) return {false, path};
  return {true, RightBytes(path, limit)};
}

std::string NameShownText(std::string_view path, long long name_max) {
  const ShownName name = NameShown(path, name_max);
  return (name.shortened ? Sjis("(略)...") : std::string()) + std::string(name.tail);
}

std::string RankChangeText(long long rank, std::int64_t previous_rank) {
  if (previous_rank <= 0) return "NEW";
  if (previous_rank > rank) return Sjis("▲") + std::to_string(previous_rank - rank);
  if (previous_rank < rank) return Sjis("▼") + std::to_string(rank - previous_rank);
  return Sjis("→");
}

std::string RankChangeHeading(const RunSettings& settings) {
  return settings.Previous && settings.Previous->complete ? Sjis("前回") : Sjis("前回（データ不足）");
}

RankingRows::RankingRows(const Ranking& ranking, const Settings& settings)
    : ranking_(ranking),
      settings_(settings),
      link_prefix_(EscapeAttribute(settings.Prefix)),
      link_path_(settings.Prefix) {}

void RankingRows::AppendNameCell(const RankedEntry& entry, PageLine& row) const {
  // The link target, as LinkTarget makes it, keeps the whole path; the
  // name (the path, or its decoded text) is shortened by the raw bytes.
  // What came from the log is escaped as the row is written.
  const std::string_view path = entry.path;
  if (settings_.Link) {
    row.Append("<a href=\"").Append(link_prefix_);
    row.AppendLinkPath(MidBytes(path, 2, static_cast<long long>(path.size())), link_path_).Append("\">");
  }
  const ShownName name = NameShown(entry.name, settings_.NameMax);
  if (name.shortened) row.Append(Sjis("(略)..."));
  row.AppendEscaped(name.tail);
  if (settings_.Link) row.Append("</a>");
}

void RankingRows::Output(long long j, std::vector<PageLine>& lines) {
  if (j >= settings_.TopCount) return;
  const RankedEntry& entry = ranking_.Place(static_cast<std::size_t>(j));
  const std::int64_t count = entry.count;
  const bool single_entry = ranking_.Size() == 1;
  const long long rank = rank_.Next(j, count);
  const auto place = static_cast<std::size_t>(j);
  PageLine row("<tr><td>");
  row.Append(std::to_string(rank)).Append(Sjis("位")).Append("</td><td>");
  if (settings_.Trend) row.Append(RankChangeText(rank, ranking_.previous_ranks.at(place))).Append("</td><td>");
  AppendNameCell(entry, row);
  row.Append("</td><td>").Append(Sjis("<img src=\"gage.gif\" alt=\"DLゲージ\" width=\""));
  row.Append(std::to_string(BarWidth(count, ranking_.top_total, single_entry))).Append("\" height=\"10\"></td><td>");
  row.Append(std::to_string(count));
  if (settings_.Clients) row.Append("</td><td>").Append(std::to_string(ranking_.clients.at(place)));
  row.Append("</td></tr>");
  lines.push_back(std::move(row));
}

}  // namespace junmaru
