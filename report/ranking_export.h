#pragma once

// The ranking as data beside the page, for spreadsheets and scripts: the
// places the page shows (the first TopCount), with the same ranks, names
// and counts, as CSV and as JSON.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "byte_sink.h"
#include "log_lines.h"
#include "ranking_run.h"
#include "settings.h"

namespace junmaru {

// One place of the page, as the exports write it.
struct ShownPlace {
  long long rank;         // competition rank, as the page's label gives it
  std::string_view path;  // the path as logged (its latest spelling; under Decode without its query)
  std::string name;       // the name as the page shows it (under Decode decoded), mark included
  std::int64_t count;
  std::optional<std::int64_t> previous_rank;  // with the rank changes: 0 where the previous period had none
  std::optional<std::int64_t> clients;        // with the downloaders
};

// Calls each for the places the page shows, best first.
void ForEachShownPlace(const Ranking& ranking, const Settings& settings,
                       const std::function<void(const ShownPlace&)>& each);

enum class CsvEncoding {
  kCp932,  // the log's bytes as they are, as Japanese Excel opens a CSV file
  kUtf8,   // converted, after a byte-order mark
};

// A head line (順位, パス, ファイル名, DL数, and with the rank changes and
// the downloaders 前回 and DL人数), then a line per place, each ended by
// CR LF; the change is written as the page shows it. A field holding a
// comma, a double quote or a line break is quoted, its quotes doubled. A
// text from the log that begins with one of = + - @ or a tab, which a
// spreadsheet would take for a formula, gets an apostrophe before it and
// stays text.
void WriteRankingCsv(const Ranking& ranking, const Settings& settings, CsvEncoding encoding, ByteSink& sink);

// One object in UTF-8: "header" (the period, from and to, as the page's
// heading names it, "YYYY-MM-DD HH:MM:SS" or null where a line has no
// time; "top", the places shown; "top_total") and "rows", an object per
// place with "rank", "path", "name" and "count", one to a line. With the
// rank changes, the header's "previous" (its "from", "to" and whether the
// logs reach back over it, "complete") and each row's "previous_rank"
// (null for none) and "change" (as the page shows it); with the
// downloaders, each row's "downloaders". Texts are converted from code
// page 932; a byte the code page does not map is written as \ufffd, and
// then the row also has "path_bytes", the path's bytes with every byte
// outside printable ASCII (and "%") as %XX.
void WriteRankingJson(const LogLines& lines, const Settings& settings, const Ranking& ranking, ByteSink& sink);

}  // namespace junmaru
