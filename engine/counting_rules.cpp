#include "counting_rules.h"

#include <stdexcept>

#include "crawler_list.h"
#include "log_fields.h"
#include "log_moment.h"
#include "path_decode.h"

namespace junmaru {

LineRules::LineRules(const RunSettings& settings) : settings_(settings) {
  if (settings_.Bots && !settings_.Crawlers) throw std::logic_error("Bots needs the crawler list");
}

RuledLine LineRules::Read(std::string_view line) {
  RuledLine ruled;
  // The request: AnyHttp reads the request field; today's rule the
  // markers, and a line it leaves out is still read as AnyHttp would.
  std::size_t closing_quote = 0;
  if (settings_.AnyHttp) {
    const std::optional<RequestField> request = AnyHttpRequest(line);
    if (!request) return ruled;
    ruled.path = request->path, ruled.kind = LinePath::Kind::kDownload;
    closing_quote = request->closing_quote;
  } else if (const std::optional<std::string_view> path = RequestFilter::DownloadPath(line)) {
    // An empty path is dropped by the filter, whatever else the line holds.
    ruled.path = *path, ruled.kind = LinePath::Kind::kDownload;
    if (path->empty()) return ruled;
    closing_quote = MarkerQuote(line, *path);
  } else if (const std::optional<RequestField> request = AnyHttpRequest(line)) {
    ruled.path = request->path, ruled.kind = LinePath::Kind::kOtherHttp;
    closing_quote = request->closing_quote;
  } else {
    return ruled;
  }
  if (settings_.Decode) ruled.path = WithoutQuery(ruled.path);

  if (!settings_.Status.Empty() && !settings_.Status.Holds(StatusAfter(line, closing_quote))) return {};

  // The downloaders need the client of a download only.
  if (settings_.Bots || settings_.OncePerClient || (settings_.Clients && ruled.kind == LinePath::Kind::kDownload)) {
    const std::optional<std::string_view> user_agent = UserAgent(line);
    bool new_agent = false;
    const std::uint32_t agent = clients_.AgentOf(user_agent, &new_agent);
    if (settings_.Bots && user_agent && IsCrawler(agent, *user_agent, new_agent)) return {};
    if ((settings_.OncePerClient || settings_.Clients) && ruled.kind == LinePath::Kind::kDownload)
      ruled.client = clients_.Of(ClientAddress(line), agent);
    if (settings_.OncePerClient && ruled.kind == LinePath::Kind::kDownload) {
      if (const std::optional<LogMoment> moment = ReadLogMoment(line))
        ruled.day = static_cast<std::uint32_t>(*moment / 1000000);
    }
  }
  return ruled;
}

bool LineRules::IsCrawler(std::uint32_t agent, std::string_view user_agent, bool new_agent) {
  // Each distinct user agent is matched once, when first met.
  if (new_agent) {
    if (crawler_.size() <= agent) crawler_.resize(agent + 1);
    crawler_[agent] = settings_.Crawlers->Matches(user_agent);
  }
  return crawler_[agent] != 0;
}

RuledCounter::RuledCounter(const RunSettings& settings, DownloadTally& tally, FileClients* downloaders)
    : settings_(settings), filter_(settings), tally_(tally), gate_(batch_clients_, settings.OncePerClient, downloaders) {}

void RuledCounter::Take(const RuledLine& line) {
  if (line.kind == LinePath::Kind::kNone) return;
  if (line.kind == LinePath::Kind::kOtherHttp) {
    const std::string_view text = settings_.Decode ? DecodePath(line.path, other_decoded_) : line.path;
    if (!filter_.Drops(text)) ++other_http_;
    return;
  }
  const std::string_view text = settings_.Decode ? DecodePath(line.path, decoded_[pending_]) : line.path;
  if (filter_.Drops(text)) return;
  batch_[pending_] = {text, line.path};
  batch_clients_[pending_] = {line.client, line.day};
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
