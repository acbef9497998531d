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
  PageLine row("<tr><td>");
  row.Append(std::to_string(rank_.Next(j, count))).Append(Sjis("位")).Append("</td><td>");
  AppendNameCell(entry, row);
  row.Append("</td><td>").Append(Sjis("<img src=\"gage.gif\" alt=\"DLゲージ\" width=\""));
  row.Append(std::to_string(BarWidth(count, ranking_.top_total, single_entry))).Append("\" height=\"10\"></td><td>");
  row.Append(std::to_string(count)).Append("</td></tr>");
  lines.push_back(std::move(row));
}

}  // namespace junmaru
