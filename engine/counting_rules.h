#pragma once

// The counting rules for today's servers, each switched on by the keeper
// (RunSettings) on top of the request filter's rules, which all still hold:
//
// AnyHttp        The request is read from the request field itself,
//                whatever its HTTP version (AnyHttpRequest: HTTP/2 and
//                HTTP/3 lines count), instead of by the HTTP/1.0 and
//                HTTP/1.1 markers anywhere in the line.
// Status         Only lines whose response status (StatusAfter) is in the
//                list count; a line without a readable status does not.
// Clients        Not a rule but a count beside the ranking: each file's
//                downloaders, the distinct clients (client_identity.h) of
//                the downloads that count (FileClients).
// OncePerClient  A client (client_identity.h) counts each file at most once
//                per day: the date of the line's timestamp, a line without
//                one being a day of its own. It applies last, to the lines
//                every other rule lets through, to the file as the tally
//                counts it; a line it stops changes nothing, neither the
//                count nor the spelling kept. Range requests (206) and
//                repeated downloads so count once.
// Bots           A line whose user agent matches a crawler of the list
//                (crawler_list.h) does not count; a line without a user
//                agent is no crawler's.
// Decode         Before every other rule, the path loses its query string
//                and its percent-escapes are decoded (path_decode.h): the
//                filters, the exclusion words and the tally see the decoded
//                path; the page shows it and links to the spelling as the
//                log wrote it, without its query string.
//
// The scan runs in two halves (line_paths.h). LineRules reads each line on
// the reading thread: the request and the status; it drops what Status
// drops and, for a path that decoding leaves as it is, what the filter
// drops, and hands on a RuledLine. RuledCounter takes them in line order
// on the counting thread: it decodes and filters the other paths, reads
// the user agent, the address and the timestamp of the lines left, drops
// what Bots drops, tells the clients apart, and hands the downloads to the
// tally through the OncePerClient gate.
//
// Reading the client's fields is the larger part of the counting side's
// work, and the two sides seldom take as long as each other. Whenever the
// counting side is behind, the reading side, which would only wait, reads
// the fields of the lines it lets through itself, the user agent as a
// number of its own; the counting side then turns that number into its
// own, reading the agent's text once per number. The lines come out alike
// whichever side read them.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "client_days.h"
#include "client_identity.h"
#include "download_tally.h"
#include "file_clients.h"
#include "line_paths.h"
#include "log_moment.h"
#include "request_filter.h"
#include "run_settings.h"

namespace junmaru {

// A line as the counting rules read it.
struct RuledLine {
  std::string_view path;  // as the log wrote it; under Decode without its query string
  std::string_view line;  // the whole line, whose client's fields the counting side reads
  LinePath::Kind kind = LinePath::Kind::kNone;  // none also when Status or the filter drops the line
  // Whether the reading side let the path through the filter: decoding
  // leaves it as it is. Otherwise the counting side decodes and filters.
  bool filtered = false;
  // Whether the reading side read the client's fields, below, having
  // time to spare. Otherwise the counting side reads them.
  bool client_read = false;
  bool ipv4 = false;          // the address is a canonical IPv4 address, whose number is address
  std::uint32_t agent = 0;    // the user agent, by the reading side's numbers (0: none)
  std::uint32_t agent_at = 0, agent_size = 0;  // where its bytes lie in line
  std::uint32_t address = 0;
  std::uint32_t day = 0;      // the timestamp's date, under OncePerClient
};

// The reading half. One thread at a time. reads_clients: whether the
// downloads' clients are told apart (OncePerClient, the downloaders).
class LineRules {
 public:
  LineRules(const RunSettings& settings, bool reads_clients);
  // spare: the counting side is behind, and work done here costs no time;
  // the client's fields of a line left are then read here.
  RuledLine Read(std::string_view line, bool spare = false);

 private:
  // request_open and request_close: the request field's quotes, when known.
  void ReadClient(RuledLine& ruled, std::size_t first_quote, std::size_t request_open, std::size_t request_close);

  const RunSettings& settings_;
  const RequestFilter filter_;
  const bool status_;    // whether Status keeps only some statuses
  const bool reads_clients_;
  std::string decoded_;  // a path as decoding would change it, not kept
  ClientIds agents_;     // this side's numbers for the user agents
  StampMemo stamps_;
};

// The counting half: the RuledLines of the scan in line order, into the
// tally. Lines that only AnyHttp would read, while it is off, are counted
// apart (OtherHttpLines) as if it were on, OncePerClient aside. With
// downloaders, the clients of the downloads that count are noted there.
class RuledCounter {
 public:
  // settings.Crawlers must be set when Bots is on.
  RuledCounter(const RunSettings& settings, DownloadTally& tally, FileClients* downloaders = nullptr);

  // The line's download, if it counts, waits in a batch for the tally.
  void Take(const RuledLine& line);
  // Hands the waiting downloads to the tally; at the end of the scan.
  void Flush();

  std::int64_t OtherHttpLines() const { return other_http_; }
  // Whether the downloads' clients are told apart: what LineRules is told.
  bool TellsClients() const { return tells_clients_; }

 private:
  // Who downloaded on which day, for each download of the batch.
  struct ClientDay {
    ClientKey client;
    std::uint32_t day;
  };
  // The OncePerClient rule, asked by the tally for each download of a
  // batch, and the downloaders of what it admits.
  class ClientGate : public DownloadTally::Gate {
   public:
    ClientGate(const ClientDay* batch, bool once_per_client, FileClients* downloaders)
        : batch_(batch), once_per_client_(once_per_client), downloaders_(downloaders) {}
    void Expect(std::size_t download, std::uint32_t entry) override;
    bool Admits(std::size_t download, std::uint32_t entry) override;
    bool Asks() const { return once_per_client_ || downloaders_; }

   private:
    const ClientDay* batch_;
    const bool once_per_client_;
    FileClients* const downloaders_;
    ClientDays days_;
  };

  // The line's text as the tally counts it (decoded, into decoded, under
  // Decode), if the filter lets it through.
  std::optional<std::string_view> Filtered(const RuledLine& line, std::string& decoded) const;
  // Reads the line's client (when client) and day; false when Bots drops the line.
  bool ReadClient(const RuledLine& line, bool client, ClientKey& key, std::uint32_t& day);
  // The number of a line's user agent (none: 0), matched when first met.
  std::uint32_t AgentOf(std::optional<std::string_view> user_agent);
  bool IsCrawler(std::uint32_t agent) const { return settings_.Bots && agent != 0 && crawler_[agent] != 0; }

  const RunSettings& settings_;
  const RequestFilter filter_;
  DownloadTally& tally_;
  const bool tells_clients_;  // for OncePerClient, or for the downloaders
  ClientIds clients_;
  std::vector<std::uint8_t> crawler_;  // by agent number: 1 for a crawler's
  std::vector<std::uint32_t> agent_of_read_;  // the reading side's agent numbers as ours (0: not yet met)
  DownloadTally::Download batch_[DownloadTally::kBatch];
  ClientDay batch_clients_[DownloadTally::kBatch];
  std::string decoded_[DownloadTally::kBatch];  // the decoded texts of the batch
  std::string other_decoded_;
  StampMemo stamps_;  // the days of OncePerClient
  std::size_t pending_ = 0;
  ClientGate gate_;
  std::int64_t other_http_ = 0;
};

}  // namespace junmaru
