#pragma once

#include <memory>
#include <string>
#include <vector>

#include "extension_families.h"
#include "log_period.h"
#include "status_list.h"

namespace junmaru {

class CrawlerList;

// What a ranking run reads: the lines to count, the places to total and
// what leaves a download out. It is the part of the settings record
// (Settings, settings/) that the engine sees; the record adds what the
// settings file keeps besides, and its defaults are these. Texts are code
// page 932 bytes.
struct RunSettings {
  long long PStart = 1;       // first log line of the range, 1-based (never stored)
  long long PEnd = 2;         // last log line of the range, inclusive (never stored)
  long long TopCount = 100;   // places shown and totalled
  // A period of the log's time (the command line's --since, --until,
  // --days), when one is chosen: the run counts its lines instead of
  // PStart to PEnd, and the page's heading names their earliest and
  // latest times (never stored).
  std::shared_ptr<const PeriodLines> Period;

  // The extension families (kExtensionFamilies): one that is on drops its suffixes.
  FamilySwitches Families = FamiliesAtFirstStart();

  std::vector<std::string> KinsiWord;  // exclusion words, one per memo line

  // The counting rules for today's servers (counting_rules.h says what
  // each does). Every one off, which is the default, counts as the log's
  // lines were always counted.
  bool AnyHttp = false;        // the request is read whatever its HTTP version
  StatusList Status;           // only these response statuses count; empty: every one
  bool OncePerClient = false;  // a client counts a file at most once a day
  bool Bots = false;           // crawlers' requests do not count
  bool Decode = false;         // paths are decoded and lose their query strings
  // The crawler list of the Bots rule, read by the run when it is on
  // (never stored).
  std::shared_ptr<const CrawlerList> Crawlers;

  bool CountRulesOn() const { return AnyHttp || !Status.Empty() || OncePerClient || Bots || Decode; }

  // The page's extra columns. Trend: each place's rank change against the
  // previous period, whose lines Previous names (chosen before the run,
  // never stored). Clients: each place's number of distinct clients.
  bool Trend = false;
  bool Clients = false;
  std::shared_ptr<const PreviousPeriod> Previous;
};

// Copies the five counting rules, not the crawler list.
inline void CopyCountingRules(const RunSettings& from, RunSettings& to) {
  to.AnyHttp = from.AnyHttp;
  to.Status = from.Status;
  to.OncePerClient = from.OncePerClient;
  to.Bots = from.Bots;
  to.Decode = from.Decode;
}

}  // namespace junmaru
