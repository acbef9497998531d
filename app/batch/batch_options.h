#pragma once

// The command line of junmaru-batch.

#include <optional>
#include <string>
#include <vector>

#include "log_moment.h"
#include "status_list.h"

namespace junmaru::batch {

struct BatchOptions {
  bool help = false;
  std::optional<std::string> settings;  // --settings FILE
  std::vector<std::string> logs;        // --log FILE, repeatable: read in this order as one log
  std::optional<std::string> out;       // --out FILE
  std::optional<long long> from;        // --from N, 1-based
  std::optional<long long> to;          // --to M, 1-based, inclusive
  std::optional<LogMoment> since;       // --since DATE: its first second when a bare date
  std::optional<LogMoment> until;       // --until DATE: its last second when a bare date, second 59 of HH:MM
  std::optional<long long> days;        // --days N, N >= 1
  // Fetching and publishing; a --log may also be an address.
  std::vector<std::string> log_lists;   // --log-list URL/, repeatable: read before the --log files
  std::string log_match = "*";          // --log-match GLOB: the listed files taken
  std::optional<std::string> publish;   // --publish URL/: the site's folder for the page
  std::optional<std::string> cacert;    // --cacert FILE: certificates trusted instead of the system's
  long timeout = 60;                    // --timeout SECONDS
  bool strict = false;                  // --strict: logs that fall short of the period are an error
  // The ranking as data beside the page.
  std::optional<std::string> csv;       // --csv FILE
  std::optional<std::string> json;      // --json FILE
  bool csv_utf8 = false;                // --csv-utf8: the CSV in UTF-8 (with a byte-order mark)
  // The counting rules, over the settings file's [Count]; none: as stored.
  std::optional<bool> any_http;         // --any-http[=0|1]
  std::optional<StatusList> status;     // --status LIST ("" for every status)
  std::optional<bool> once_per_client;  // --once-per-client[=0|1]
  std::optional<bool> bots;             // --bots[=0|1]
  std::optional<bool> decode;           // --decode[=0|1]
  // The page's extra columns, over the settings file's [HTML]; none: as stored.
  std::optional<bool> trend;            // --trend[=0|1]: each place's rank change against the previous period
  std::optional<bool> clients;          // --clients[=0|1]: each place's number of distinct clients

  bool HasPeriod() const { return since || until || days; }
};

struct ParsedOptions {
  BatchOptions options;
  std::string problem;  // empty when the arguments were good
};

// Reads "--name VALUE" and "--name=VALUE" forms (--help, --strict and
// --csv-utf8 take no value; a counting rule's switch, --trend and
// --clients take none, or "=0" or "=1"); a repeated --log adds a log, any other repeated option takes
// its last value. Numbers are decimal integers, dates "YYYY-MM-DD" or
// "YYYY-MM-DD HH:MM[:SS]". Refused here, before any file is touched:
// --from beyond --to, --since after --until, a period (--since, --until,
// --days) together with --from or --to, --days with --since or --until,
// --strict without a period, --csv-utf8 without --csv, an address that is not ftp://, ftps://,
// sftp:// or https:// (only a folder of the first three for --log-list
// and --publish) or that holds a password.
ParsedOptions ParseOptions(const std::vector<std::string>& args);

// One line: the synopsis shown after a bad argument.
extern const char kUsageLine[];
// The whole --help text, in Japanese and English (UTF-8).
extern const char kHelpText[];

}  // namespace junmaru::batch
