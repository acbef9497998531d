#pragma once

#include <memory>
#include <string>
#include <vector>

#include "extension_families.h"
#include "log_period.h"

namespace junmaru {

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
};

}  // namespace junmaru
