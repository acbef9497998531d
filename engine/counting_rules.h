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
// tally through the OncePerClient gate. The client's fields are read only
// for the lines the filter lets through, which are often far fewer; the
// counting side reads those bytes in any case, to tell the clients apart.

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
};

// The reading half. One thread at a time.
class LineRules {
 public:
  explicit LineRules(const RunSettings& settings);
  RuledLine Read(std::string_view line);

 private:
  const RunSettings& settings_;
  const RequestFilter filter_;
  const bool status_;    // whether Status keeps only some statuses
  std::string decoded_;  // a path as decoding would change it, not kept
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
  // The number of a line's user agent (none: 0), and whether Bots drops the line.
  std::uint32_t AgentOf(std::optional<std::string_view> user_agent, bool& crawler);

  const RunSettings& settings_;
  const RequestFilter filter_;
  DownloadTally& tally_;
  const bool tells_clients_;  // for OncePerClient, or for the downloaders
  ClientIds clients_;
  std::vector<std::uint8_t> crawler_;  // by agent number: 1 for a crawler's
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
