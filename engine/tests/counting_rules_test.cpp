// Each counting rule alone and all five together, on logs made for them:
// the ranking a run gives, place by place.

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "counting_rules.h"
#include "cp932.h"
#include "crawler_list.h"
#include "ranking_run.h"
#include "recording_view.h"

namespace junmaru {
namespace {

struct Request {
  std::string request;  // the request field, such as "GET /a.zip HTTP/1.1"
  int status = 200;
  std::string agent = "Mozilla/5.0 (Windows NT 10.0) Chrome/120";
  std::string address = "192.0.2.1";
  std::string stamp = "10/Oct/2024:13:55:36 +0900";
};

std::string LineOf(const Request& r) {
  const std::string stamp = r.stamp.empty() ? "" : "[" + r.stamp + "] ";
  return r.address + " - - " + stamp + "\"" + r.request + "\" " + std::to_string(r.status) + " 1234 \"-\" \"" +
         r.agent + "\"";
}

Request Get(const std::string& path, const std::string& version = "HTTP/1.1") { return {"GET " + path + " " + version}; }
Request With(Request r, const std::function<void(Request&)>& change) {
  change(r);
  return r;
}
Request Status(Request r, int status) { return With(r, [&](Request& x) { x.status = status; }); }
Request Agent(Request r, const std::string& agent) { return With(r, [&](Request& x) { x.agent = agent; }); }
Request From(Request r, const std::string& address, const std::string& day = "10") {
  return With(r, [&](Request& x) {
    x.address = address;
    x.stamp = day + "/Oct/2024:13:55:36 +0900";
  });
}

// Each place as "count name", and " <- spelling" when the link differs.
std::vector<std::string> Places(const Ranking& ranking) {
  std::vector<std::string> out;
  for (std::size_t j = 0; j < ranking.Size(); ++j) {
    const RankedEntry& e = ranking.Place(j);
    std::string place = std::to_string(e.count) + " " + Cp932ToUtf8(e.name);
    if (e.path != e.name) place += " <- " + std::string(e.path);
    out.push_back(place);
  }
  return out;
}

std::shared_ptr<const CrawlerList> ShippedCrawlers() {
  static const auto list = CrawlerList::Load(JUNMARU_CRAWLER_LIST);
  return list;
}

// What a run gives, read before its log goes.
struct Result {
  std::vector<std::string> places;
  std::int64_t top_total;
  std::int64_t other_http;
};

Result RunOn(const std::vector<Request>& requests, const std::function<void(RunSettings&)>& rules) {
  std::string text;
  for (const Request& r : requests) text += LineOf(r) + "\n";
  const LogLines lines = LogLines::FromBytes(text);
  RunSettings settings;
  settings.PStart = 1;
  settings.PEnd = static_cast<long long>(lines.Count());
  rules(settings);
  if (settings.Bots) settings.Crawlers = ShippedCrawlers();
  testing::RecordingView view;
  const Ranking ranking = RunRanking(lines, settings, view);
  return {Places(ranking), ranking.top_total, ranking.other_http_lines};
}

std::vector<std::string> PlacesOf(const std::vector<Request>& requests,
                                  const std::function<void(RunSettings&)>& rules) {
  return RunOn(requests, rules).places;
}

void AllOff(RunSettings&) {}
void AnyHttp(RunSettings& s) { s.AnyHttp = true; }
void Status200And206(RunSettings& s) { s.Status = *StatusList::Parse("200,206"); }
void OncePerClient(RunSettings& s) { s.OncePerClient = true; }
void Bots(RunSettings& s) { s.Bots = true; }
void Decode(RunSettings& s) { s.Decode = true; }
void AllFive(RunSettings& s) {
  AnyHttp(s), Status200And206(s), OncePerClient(s), Bots(s), Decode(s);
}

struct RuleCase {
  const char* name;
  std::vector<Request> log;
  std::function<void(RunSettings&)> rules;
  std::vector<std::string> places;
  std::int64_t other_http = 0;
};

const std::string kGooglebot = "Mozilla/5.0 (compatible; Googlebot/2.1; +http://www.google.com/bot.html)";
const std::string kGptBot = "Mozilla/5.0 AppleWebKit/537.36 (KHTML, like Gecko; compatible; GPTBot/1.2; +https://openai.com/gptbot)";

std::vector<Request> HttpVersions() {
  return {Get("/a.zip"), Get("/a.zip", "HTTP/2.0"), Get("/b.zip", "HTTP/3"), Get("/b.zip", "HTTP/2"),
          Get("/b.zip", "HTTP/1.0"), Get("/c.jpg", "HTTP/2.0"), Get("/d.zip", "HTTP/2.0.1")};
}

std::vector<Request> StatusMix() {
  return {Get("/a.zip"), Status(Get("/a.zip"), 206), Status(Get("/a.zip"), 304), Status(Get("/a.zip"), 404),
          Status(Get("/gone.zip"), 404), Status(Get("/b.zip"), 206)};
}

// A download manager fetching a.zip in ranges, on two days; another client
// once; the same address with another browser once.
std::vector<Request> RangeBursts() {
  std::vector<Request> log;
  for (int i = 0; i < 5; ++i) log.push_back(From(Status(Get("/a.zip"), 206), "198.51.100.7", "10"));
  for (int i = 0; i < 3; ++i) log.push_back(From(Status(Get("/a.zip"), 206), "198.51.100.7", "11"));
  log.push_back(From(Get("/a.zip"), "203.0.113.9", "10"));
  log.push_back(Agent(From(Get("/a.zip"), "198.51.100.7", "10"), "Wget/1.21"));
  log.push_back(From(Get("/b.zip"), "2001:db8::1", "10"));
  log.push_back(From(Get("/b.zip"), "2001:db8::1", "10"));
  return log;
}

std::vector<Request> Crawlers() {
  return {Agent(Get("/a.zip"), kGooglebot),   Agent(Get("/a.zip"), kGptBot),
          Agent(Get("/a.zip"), "Wget/1.21.3"), Agent(Get("/a.zip"), "curl/8.5.0"),
          Agent(Get("/b.zip"), "GoogleBot/2.1 lookalike"), Agent(Get("/b.zip"), "Googlebot"),
          Agent(Get("/c.zip"), kGooglebot)};
}

std::vector<Request> EncodedNames() {
  return {Get("/dl/%E6%97%A5%E6%9C%AC.zip"), Get("/dl/%e6%97%a5%e6%9c%ac.zip"),
          Get("/dl/\x93\xFA\x96\x7B.zip"), Get("/dl/%93%FA%96%7B.zip?from=top"),
          Get("/dl/a.zip?ref=1"), Get("/dl/a.zip?ref=2"), Get("/dl/A.zip"),
          Get("/dl/%41%2Ejpg"), Get("/dl/x%00y.zip")};
}

TEST(CountingRules, EachRuleAloneAndAllFiveTogether) {
  const RuleCase cases[] = {
      {"versions_all_off", HttpVersions(), AllOff, {"1 /b.zip", "1 /a.zip"}, 3},
      {"versions_any_http", HttpVersions(), AnyHttp, {"3 /b.zip", "2 /a.zip"}},
      {"status_all_off", StatusMix(), AllOff, {"4 /a.zip", "1 /gone.zip", "1 /b.zip"}},
      {"status_200_206", StatusMix(), Status200And206, {"2 /a.zip", "1 /b.zip"}},
      {"status_304_only", StatusMix(), [](RunSettings& s) { s.Status = *StatusList::Parse("304"); }, {"1 /a.zip"}},
      {"bursts_all_off", RangeBursts(), AllOff, {"10 /a.zip", "2 /b.zip"}},
      {"bursts_once_per_client", RangeBursts(), OncePerClient, {"4 /a.zip", "1 /b.zip"}},
      {"crawlers_all_off", Crawlers(), AllOff, {"4 /a.zip", "2 /b.zip", "1 /c.zip"}},
      {"crawlers_bots", Crawlers(), Bots, {"2 /b.zip", "2 /a.zip"}},
      {"names_all_off", EncodedNames(), AllOff,
       {"2 /dl/%e6%97%a5%e6%9c%ac.zip", "1 /dl/日本.zip", "1 /dl/x%00y.zip", "1 /dl/A.zip"}},
      {"names_decode", EncodedNames(), Decode,
       {"4 /dl/日本.zip <- /dl/%93%FA%96%7B.zip", "3 /dl/A.zip", "1 /dl/x%00y.zip"}},
  };
  for (const RuleCase& c : cases) {
    const Result result = RunOn(c.log, c.rules);
    EXPECT_EQ(result.places, c.places) << c.name;
    EXPECT_EQ(result.other_http, c.other_http) << c.name;
  }
}

TEST(CountingRules, AllFiveOnATodaysLog) {
  std::vector<Request> log = {
      From(Get("/dl/%E6%97%A5%E6%9C%AC.zip?src=mail", "HTTP/2.0"), "198.51.100.7"),
      Status(From(Get("/dl/%E6%97%A5%E6%9C%AC.zip", "HTTP/2.0"), "198.51.100.7"), 206),  // same client, same day
      Status(From(Get("/dl/%E6%97%A5%E6%9C%AC.zip", "HTTP/2.0"), "198.51.100.7", "11"), 206),
      Status(From(Get("/dl/%E6%97%A5%E6%9C%AC.zip", "HTTP/3"), "203.0.113.9"), 304),    // nothing sent
      Agent(From(Get("/dl/%E6%97%A5%E6%9C%AC.zip", "HTTP/2.0"), "203.0.113.10"), kGooglebot),
      From(Get("/dl/tool.lzh"), "203.0.113.11"),
      Status(From(Get("/dl/missing.lzh", "HTTP/2.0"), "203.0.113.11"), 404),
  };
  EXPECT_EQ(PlacesOf(log, AllFive),
            (std::vector<std::string>{"2 /dl/日本.zip <- /dl/%E6%97%A5%E6%9C%AC.zip", "1 /dl/tool.lzh"}));
  EXPECT_EQ(PlacesOf(log, AllOff), (std::vector<std::string>{"1 /dl/tool.lzh"}));
}

TEST(CountingRules, OncePerClientLooksOnlyAtLinesThatCountAndChangesNothingElse) {
  // A refused status marks nothing: the 200 after the 404 still counts.
  EXPECT_EQ(PlacesOf({Status(Get("/a.zip"), 404), Get("/a.zip")},
                       [](RunSettings& s) { OncePerClient(s), Status200And206(s); }),
            std::vector<std::string>{"1 /a.zip"});
  // A line that does not count keeps the spelling of the one that did.
  EXPECT_EQ(PlacesOf({Get("/A.zip"), Get("/a.zip")}, OncePerClient), std::vector<std::string>{"1 /A.zip"});
  EXPECT_EQ(PlacesOf({Get("/A.zip"), Get("/a.zip"), From(Get("/a.ZIP"), "192.0.2.2")}, OncePerClient),
            std::vector<std::string>{"2 /a.ZIP"});
  // Under Decode the file is the decoded path: two spellings, one file.
  EXPECT_EQ(PlacesOf({Get("/%41.zip"), Get("/A.zip?x")}, [](RunSettings& s) { OncePerClient(s), Decode(s); }),
            std::vector<std::string>{"1 /A.zip <- /%41.zip"});
  // A line without a timestamp is a day of its own.
  const Request undated = With(Get("/a.zip"), [](Request& r) { r.stamp.clear(); });
  EXPECT_EQ(PlacesOf({undated, undated, Get("/a.zip"), Get("/a.zip")}, OncePerClient),
            std::vector<std::string>{"3 /a.zip"});
}

// With a rule on that changes nothing on a log, the rules' path through the
// scan must give what today's path gives, on both threads' ways.
TEST(CountingRules, ARuleThatChangesNothingGivesTodaysRanking) {
  std::mt19937 rng(20);
  std::vector<Request> log;
  const char* versions[] = {"HTTP/1.1", "HTTP/1.0", "HTTP/2.0"};
  for (int i = 0; i < 300000; ++i)
    log.push_back(Status(Get("/f" + std::to_string(rng() % 500) + (rng() % 7 ? ".zip" : ".jpg"), versions[rng() % 3]),
                         rng() % 2 ? 200 : 404));
  const Result today = RunOn(log, AllOff);
  std::vector<std::string> every_status;
  for (int code = 0; code < 1000; ++code) every_status.push_back(std::to_string(1000 + code).substr(1));
  std::string all;
  for (const std::string& code : every_status) all += (all.empty() ? "" : ",") + code;
  for (const auto& rules : std::vector<std::function<void(RunSettings&)>>{
           Decode, [&](RunSettings& s) { s.Status = *StatusList::Parse(all); }}) {
    const Result ruled = RunOn(log, rules);
    EXPECT_EQ(ruled.places, today.places);
    EXPECT_EQ(ruled.top_total, today.top_total);
    EXPECT_EQ(ruled.other_http, today.other_http);
  }
}

// The client's fields are read on the reading side when it has time to
// spare, and on the counting side otherwise, batch by batch as the two
// threads go: the counts and the downloaders must be alike whichever side
// read which line.
TEST(CountingRules, ClientsCountAlikeWhicheverSideReadsThem) {
  const std::string agents[] = {"Mozilla/5.0 (Windows NT 10.0) Chrome/120", "Wget/1.21.3", kGooglebot, kGptBot,
                                "Googlebot lookalike", "a \\\"quoted\\\" agent", std::string(200, 'm'), ""};
  const std::string addresses[] = {"192.0.2.1", "192.0.2.2", "198.51.100.7", "01.2.3.4", "2001:db8::1", "host"};
  std::mt19937 rng(11);
  std::string text;
  for (int i = 0; i < 20000; ++i) {
    Request r = Get("/f" + std::to_string(rng() % 40) + (rng() % 5 ? ".zip" : ".jpg") + (rng() % 9 ? "" : "?x"),
                    rng() % 2 ? "HTTP/2.0" : "HTTP/1.1");
    r.status = rng() % 4 ? 200 : 206;
    r.agent = agents[rng() % std::size(agents)];
    r.address = addresses[rng() % std::size(addresses)];
    r.stamp = rng() % 10 ? std::to_string(10 + rng() % 3) + "/Oct/2024:13:55:36 +0900" : "";
    std::string line = LineOf(r);
    if (rng() % 10 == 0) line.resize(line.find(" \"-\""));  // the common format: no user agent
    text += line + "\n";
  }
  const LogLines lines = LogLines::FromBytes(text);
  RunSettings settings;
  AllFive(settings);
  settings.Crawlers = ShippedCrawlers();
  struct Counted {
    std::vector<std::pair<std::string, std::int64_t>> entries;  // latest spelling and count
    std::vector<std::int64_t> downloaders;
    bool operator==(const Counted&) const = default;
  };
  const auto count = [&](const std::function<bool(std::size_t)>& spare) {
    DownloadTally tally;
    FileClients downloaders;
    RuledCounter counter(settings, tally, &downloaders);
    LineRules rules(settings, counter.TellsClients());
    for (std::size_t i = 0; i < lines.Count(); ++i) counter.Take(rules.Read(lines[i], spare(i)));
    counter.Flush();
    Counted counted;
    std::vector<std::uint32_t> files;
    for (const DownloadTally::Entry& e : tally.Entries()) {
      counted.entries.emplace_back(std::string(e.latest), e.count);
      files.push_back(static_cast<std::uint32_t>(files.size()));
    }
    counted.downloaders = downloaders.Count(files);
    return counted;
  };
  const Counted by_counting_side = count([](std::size_t) { return false; });
  EXPECT_FALSE(by_counting_side.entries.empty());
  EXPECT_EQ(count([](std::size_t) { return true; }), by_counting_side);
  EXPECT_EQ(count([](std::size_t i) { return i / 100 % 2 == 1; }), by_counting_side);
  EXPECT_EQ(count([](std::size_t i) { return (i * 2654435761u) >> 7 & 1; }), by_counting_side);
}

}  // namespace
}  // namespace junmaru
