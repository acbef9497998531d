// The period parser on any text: a date the options take (--since,
// --until) is a real date and time that reads back as itself, and as the
// start it never lies after the same text as the end; a count of days
// (--days) never starts a period after its last day; a line's timestamp
// field reads as a moment whose fields are in range.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "log_moment.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace junmaru;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::optional<LogMoment> since = ParseMoment(text, false), until = ParseMoment(text, true);
  if (since.has_value() != until.has_value()) std::abort();
  if (since) {
    if (*since > *until) std::abort();
    if (ParseMoment(MomentText(*since), false) != since || ParseMoment(MomentText(*until), true) != until) std::abort();
    if (MomentOfUnixTime(UnixTimeOf(*since)) != since) std::abort();
    // The first bytes, taken as a count of days before it.
    long long days = 0;
    for (std::size_t i = 0; i < size && i < 3; ++i) days = days * 256 + data[i];
    const std::optional<LogMoment> start = StartOfDayBefore(*until, days);
    if (start && (*start > *until || *start % 1000000 != 0)) std::abort();
    if (EndOfDay(*until) < *until) std::abort();
  }
  if (const std::optional<LogMoment> m = ReadLogMoment(text)) {
    const LogMoment date = *m / 1000000, time = *m % 1000000;
    if (date % 100 < 1 || date % 100 > 31 || date / 100 % 100 < 1 || date / 100 % 100 > 12) std::abort();
    if (time / 10000 > 23 || time / 100 % 100 > 59 || time % 100 > 60) std::abort();
  }
  return 0;
}
