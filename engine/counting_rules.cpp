#include "counting_rules.h"

#include <stdexcept>

#include "crawler_list.h"
#include "log_fields.h"
#include "log_moment.h"
#include "path_decode.h"

namespace junmaru {

namespace {

std::uint32_t DayOf(LogMoment moment) { return static_cast<std::uint32_t>(moment / 1000000); }

}  // namespace

LineRules::LineRules(const RunSettings& settings, bool reads_clients)
    : settings_(settings), filter_(settings), status_(!settings.Status.Empty()), reads_clients_(reads_clients) {}

void LineRules::ReadClient(RuledLine& ruled, std::size_t first_quote, std::size_t request_open,
                           std::size_t request_close) {
  constexpr std::size_t npos = std::string_view::npos;
  const std::string_view line = ruled.line;
  if (line.size() > 0xFFFFFFFFu) return;  // beyond the offsets' reach: the counting side reads it
  // The line's first two quotes: nearly always the request field's.
  const std::size_t first = first_quote != npos ? first_quote : line.find('"');
  const std::size_t second = first == npos ? npos : first == request_open ? request_close : line.find('"', first + 1);
  std::optional<std::string_view> user_agent;
  if (second == npos || !UserAgentAfter(line, first, second, user_agent)) user_agent = UserAgent(line);
  ruled.client_read = true;
  ruled.agent = agents_.AgentOf(user_agent);
  if (user_agent) {
    ruled.agent_at = static_cast<std::uint32_t>(user_agent->data() - line.data());
    ruled.agent_size = static_cast<std::uint32_t>(user_agent->size());
  }
  if (!reads_clients_ || ruled.kind != LinePath::Kind::kDownload) return;
  if (const std::optional<std::uint32_t> ipv4 = CanonicalIpv4(ClientAddress(line), line.size()))
    ruled.address = *ipv4, ruled.ipv4 = true;
  if (settings_.OncePerClient) ruled.day = DayOf(MomentOfLine(line, first, stamps_));
}

RuledLine LineRules::Read(std::string_view line, bool spare) {
  // The one object every path returns, so that it is built in the caller's slot.
  RuledLine ruled;
  // The request: AnyHttp reads the request field; today's rule the
  // markers, and a line it leaves out is still read as AnyHttp would.
  // Each is found by the quotes up to the request's end only.
  constexpr std::size_t npos = std::string_view::npos;
  std::size_t closing_quote = 0, first_quote = npos, opening_quote = npos;
  if (settings_.AnyHttp) {
    const std::string_view path = AnyHttpPath(line, closing_quote, &first_quote);
    if (path.data() == nullptr) return ruled;
    ruled.path = path, ruled.kind = LinePath::Kind::kDownload;
    opening_quote = RequestQuote(line, path);
  } else if (const std::string_view path = RequestFilter::FindDownloadPath(line); path.data() != nullptr) {
    // An empty path is dropped by the filter, whatever else the line holds.
    ruled.path = path, ruled.kind = LinePath::Kind::kDownload;
    if (path.empty()) return ruled;
    closing_quote = MarkerQuote(line, path);
  } else if (const std::string_view other = AnyHttpPath(line, closing_quote, &first_quote); other.data() != nullptr) {
    ruled.path = other, ruled.kind = LinePath::Kind::kOtherHttp;
    opening_quote = RequestQuote(line, other);
  } else {
    return ruled;
  }
  if (settings_.Decode) ruled.path = WithoutQuery(ruled.path);

  if (status_ && !settings_.Status.Holds(StatusAfter(line, closing_quote))) {
    ruled = {};
    return ruled;
  }
  // A path that decoding leaves as it is, nearly every one, meets the
  // filter here: the counting side never sees a line the filter drops.
  if (!settings_.Decode || DecodePath(ruled.path, decoded_).data() == ruled.path.data()) {
    if (filter_.Drops(ruled.path)) {
      ruled = {};
      return ruled;
    }
    ruled.filtered = true;
  }
  ruled.line = line;
  if (spare && (settings_.Bots || (reads_clients_ && ruled.kind == LinePath::Kind::kDownload)))
    ReadClient(ruled, first_quote, opening_quote, closing_quote);
  return ruled;
}

RuledCounter::RuledCounter(const RunSettings& settings, DownloadTally& tally, FileClients* downloaders)
    : settings_(settings),
      filter_(settings),
      tally_(tally),
      tells_clients_(settings.OncePerClient || downloaders),
      gate_(batch_clients_, settings.OncePerClient, downloaders) {
  if (settings_.Bots && !settings_.Crawlers) throw std::logic_error("Bots needs the crawler list");
}

std::uint32_t RuledCounter::AgentOf(std::optional<std::string_view> user_agent) {
  bool new_agent = false;
  const std::uint32_t agent = clients_.AgentOf(user_agent, &new_agent);
  // Each distinct user agent is matched once, when first met.
  if (settings_.Bots && new_agent) {
    if (crawler_.size() <= agent) crawler_.resize(agent + 1);
    crawler_[agent] = settings_.Crawlers->Matches(*user_agent);
  }
  return agent;
}

bool RuledCounter::ReadClient(const RuledLine& line, bool client, ClientKey& key, std::uint32_t& day) {
  if (line.client_read) {
    // The reading side's number of the agent stands for ours; its text is
    // read once, when the number is first met.
    std::uint32_t agent = 0;
    if (line.agent != 0) {
      if (agent_of_read_.size() <= line.agent) agent_of_read_.resize(line.agent + 1);
      std::uint32_t& ours = agent_of_read_[line.agent];
      if (ours == 0) ours = AgentOf(line.line.substr(line.agent_at, line.agent_size));
      agent = ours;
    }
    if (IsCrawler(agent)) return false;
    if (client)
      key = line.ipv4 ? ClientKey{line.address, agent} : clients_.Of(ClientAddress(line.line), agent, line.line.size());
    day = line.day;
    return true;
  }
  // The fields are found by the line's quotes, found once.
  const LineQuotes quotes(line.line);
  const std::uint32_t agent = AgentOf(UserAgent(line.line, quotes));
  if (IsCrawler(agent)) return false;
  if (client) key = clients_.Of(ClientAddress(line.line), agent, line.line.size());
  if (client && settings_.OncePerClient)
    day = DayOf(MomentOfLine(line.line, quotes.Count() > 0 ? quotes[0] : std::string_view::npos, stamps_));
  return true;
}

std::optional<std::string_view> RuledCounter::Filtered(const RuledLine& line, std::string& decoded) const {
  if (line.filtered) return line.path;
  const std::string_view text = settings_.Decode ? DecodePath(line.path, decoded) : line.path;
  if (filter_.Drops(text)) return std::nullopt;
  return text;
}

void RuledCounter::Take(const RuledLine& line) {
  if (line.kind == LinePath::Kind::kNone) return;
  const bool download = line.kind == LinePath::Kind::kDownload;
  const std::optional<std::string_view> text = Filtered(line, download ? decoded_[pending_] : other_decoded_);
  if (!text) return;
  // Bots reads the user agent of every line left; a download's client is
  // read for OncePerClient and the downloaders.
  const bool client = tells_clients_ && download;
  ClientKey key;
  std::uint32_t day = 0;  // the date of the timestamp; a line without one is a day of its own (0)
  if ((settings_.Bots || client) && !ReadClient(line, client, key, day)) return;
  if (!download) {
    ++other_http_;  // a line only AnyHttp reads
    return;
  }
  batch_[pending_] = {*text, line.path};
  batch_clients_[pending_] = {key, day};
  if (++pending_ == DownloadTally::kBatch) Flush();
}

void RuledCounter::Flush() {
  tally_.CountDownloads(batch_, pending_, gate_.Asks() ? &gate_ : nullptr);
  pending_ = 0;
}

void RuledCounter::ClientGate::Expect(std::size_t download, std::uint32_t entry) {
  const ClientDay& line = batch_[download];
  if (once_per_client_ && line.day != 0) days_.Expect(line.client, line.day, entry);
}

bool RuledCounter::ClientGate::Admits(std::size_t download, std::uint32_t entry) {
  const ClientDay& line = batch_[download];
  // A line without a timestamp is a day of its own: it always counts.
  const bool counts = !once_per_client_ || line.day == 0 || days_.Mark(line.client, line.day, entry);
  if (counts && downloaders_) downloaders_->Add(line.client, entry);
  return counts;
}

}  // namespace junmaru
