// A fuzzed log through the run and the page's composition. Whatever the
// log holds, the page keeps its shape: the number of lines the frame and
// the rows make, no line break inside a line, and in every row and both
// date lines exactly the tags and quotes the templates write, so that no
// byte from the log can open a tag or close an attribute. The CSV has a
// line per row and its head; the JSON reads back with a row per row.
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "log_lines.h"
#include "quiet_view.h"
#include "ranking_export.h"
#include "ranking_run.h"
#include "report_document.h"

namespace {

std::size_t CountOf(std::string_view s, char c) {
  std::size_t n = 0;
  for (char x : s) n += x == c;
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  using namespace junmaru;
  const LogLines lines = LogLines::FromBytes(std::string(reinterpret_cast<const char*>(data + 2), size - 2));
  if (lines.Empty()) return 0;
  Settings settings;
  settings.PStart = 1;
  settings.PEnd = static_cast<long long>(lines.Count());
  settings.TopCount = 1 + data[0] % 8;
  settings.NameMax = data[1] % 16;
  settings.Link = data[1] & 0x80;
  settings.Families.fill(data[1] & 0x40);

  fuzz::QuietView view;
  const Ranking ranking = RunRanking(lines, settings, view);
  std::vector<std::string> page;
  for (const PageLine& line : ComposeReport(lines, settings, ranking, view)) page.push_back(line.Bytes());
  const std::size_t rows = std::min(ranking.Size(), static_cast<std::size_t>(settings.TopCount));
  if (page.size() != (ranking.Size() == 0 ? 12 : 18 + rows)) std::abort();
  for (const std::string& line : page)
    if (line.find_first_of("\r\n") != std::string::npos) std::abort();
  if (CountOf(page[1], '<') != 4 || CountOf(page[1], '>') != 4 || CountOf(page[1], '"') != 0) std::abort();
  if (CountOf(page[4], '<') != 3 || CountOf(page[4], '>') != 3 || CountOf(page[4], '"') != 4) std::abort();
  for (std::size_t r = 0; r < rows; ++r) {
    const std::string& row = page[13 + r];
    const std::size_t tags = settings.Link ? 13 : 11, quotes = settings.Link ? 10 : 8;
    if (row.rfind("<tr><td>", 0) != 0 || row.size() < 10 || row.compare(row.size() - 10, 10, "</td></tr>") != 0)
      std::abort();
    if (CountOf(row, '<') != tags || CountOf(row, '>') != tags || CountOf(row, '"') != quotes) std::abort();
    if (CountOf(row, '\'') != 0) std::abort();
  }

  std::string csv, json;
  StringSink csv_sink(csv), json_sink(json);
  WriteRankingCsv(ranking, settings, data[0] & 0x80 ? CsvEncoding::kUtf8 : CsvEncoding::kCp932, csv_sink);
  // Log lines hold no line break: each quoted field is on its line.
  std::size_t breaks = 0;
  for (std::size_t at = csv.find("\r\n"); at != std::string::npos; at = csv.find("\r\n", at + 2)) ++breaks;
  if (breaks != rows + 1 || CountOf(csv, '\n') != breaks) std::abort();
  WriteRankingJson(lines, settings, ranking, json_sink);
  const nlohmann::json parsed = nlohmann::json::parse(json, nullptr, false);
  if (parsed.is_discarded() || parsed["rows"].size() != rows) std::abort();
  return 0;
}
