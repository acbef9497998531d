// A fuzzed log through the counting rules: the fields they read stay
// inside their line, decoding never lengthens a path, and a run with any
// choice of rules (a small crawler list for Bots) counts no more downloads
// than there are lines and composes a page whose rows hold only the tags
// and quotes the template writes, whatever the escapes, names and user
// agents of the log.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "counting_rules.h"
#include "crawler_list.h"
#include "log_fields.h"
#include "log_lines.h"
#include "path_decode.h"
#include "quiet_view.h"
#include "ranking_run.h"
#include "report_document.h"

namespace {

bool Inside(std::string_view part, std::string_view whole) {
  return part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size();
}

std::size_t CountOf(std::string_view s, char c) {
  std::size_t n = 0;
  for (char x : s) n += x == c;
  return n;
}

std::shared_ptr<const junmaru::CrawlerList> Crawlers() {
  static const auto list = junmaru::CrawlerList::FromJson(
      R"([{"pattern": "[Bb]ot\\/"}, {"pattern": "^Mozilla/5\\.0 \\(compatible; [a-z]+"},
          {"pattern": "crawl(er)?[0-9]{1,3}"}, {"pattern": "curl", "tags": ["http-library"]}])",
      "fuzz");
  return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  using namespace junmaru;
  const LogLines lines = LogLines::FromBytes(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
  std::string decoded;
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const std::string_view line = lines[i];
    if (const auto request = AnyHttpRequest(line)) {
      if (!Inside(request->path, line) || request->closing_quote >= line.size() || line[request->closing_quote] != '"')
        std::abort();
      const int status = StatusAfter(line, request->closing_quote);
      if (status < -1 || status > 999) std::abort();
      if (DecodePath(WithoutQuery(request->path), decoded).size() > request->path.size()) std::abort();
    }
    const std::optional<std::string_view> agent = UserAgent(line);
    if (agent && !Inside(*agent, line)) std::abort();
    // Found from the quotes after the first two, when that can tell.
    const std::size_t first = line.find('"'), second = first == line.npos ? first : line.find('"', first + 1);
    std::optional<std::string_view> after;
    if (second != line.npos && UserAgentAfter(line, first, second, after) && after != agent) std::abort();
    if (!Inside(ClientAddress(line), line)) std::abort();
  }
  if (lines.Empty()) return 0;

  Settings settings;
  settings.PStart = 1;
  settings.PEnd = static_cast<long long>(lines.Count());
  settings.TopCount = 10;
  settings.NameMax = 10;
  settings.Families.fill(false);
  settings.AnyHttp = data[0] & 1;
  if (data[0] & 2) settings.Status = *StatusList::Parse("200,206");
  settings.OncePerClient = data[0] & 4;
  settings.Bots = data[0] & 8;
  settings.Decode = data[0] & 16;
  settings.Link = data[0] & 32;
  settings.Crawlers = Crawlers();

  // The clients' fields read on the reading side count as those read on
  // the counting side.
  const auto tally = [&](bool spare) {
    DownloadTally counts;
    FileClients downloaders;
    RuledCounter counter(settings, counts, &downloaders);
    LineRules rules(settings, counter.TellsClients());
    for (std::size_t i = 0; i < lines.Count(); ++i) counter.Take(rules.Read(lines[i], spare && i % 3 != 0));
    counter.Flush();
    std::vector<std::int64_t> out;
    for (const DownloadTally::Entry& e : counts.Entries()) out.push_back(e.count);
    return out;
  };
  if (tally(false) != tally(true)) std::abort();

  fuzz::QuietView view;
  const Ranking ranking = RunRanking(lines, settings, view);
  std::int64_t counted = 0;
  for (const RankedEntry& entry : ranking.entries) counted += entry.count;
  if (counted > static_cast<std::int64_t>(lines.Count())) std::abort();
  const std::vector<PageLine> page = ComposeReport(lines, settings, ranking, view);
  const std::size_t rows = std::min<std::size_t>(ranking.Size(), 10);
  for (std::size_t r = 0; r < rows; ++r) {
    const std::string row = page[13 + r].Bytes();
    const std::size_t tags = settings.Link ? 13 : 11, quotes = settings.Link ? 10 : 8;
    if (CountOf(row, '<') != tags || CountOf(row, '>') != tags || CountOf(row, '"') != quotes) std::abort();
    if (row.find_first_of("\r\n") != std::string::npos) std::abort();
  }
  return 0;
}
