// Fuzzed command lines for junmaru-batch (arguments separated by NUL
// bytes): parsing never fails, and arguments it accepts obey its rules.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "batch_options.h"
#include "remote_url.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace junmaru::batch;
  std::vector<std::string> args;
  std::string current;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.push_back(current);
      current.clear();
    } else {
      current += static_cast<char>(data[i]);
    }
  }
  if (size > 0) args.push_back(current);
  const ParsedOptions parsed = ParseOptions(args);
  if (!parsed.problem.empty()) return 0;
  const BatchOptions& o = parsed.options;
  if (o.from && o.to && *o.from > *o.to) std::abort();
  // Every argument is an option, a value, or the help switch.
  for (const std::string& a : args)
    if (a.empty() && !(o.settings || !o.logs.empty() || o.out || o.cacert || o.log_match.empty() || o.status))
      std::abort();
  if (o.since && o.until && *o.since > *o.until) std::abort();
  if (o.HasPeriod() && (o.from || o.to)) std::abort();
  if (o.timeout < 1 || (o.log_match != "*" && o.log_lists.empty())) std::abort();
  // Every address that reaches the run is one the transfers can read.
  std::vector<std::string> addresses = o.log_lists;
  addresses.insert(addresses.end(), o.logs.begin(), o.logs.end());
  if (o.publish) addresses.push_back(*o.publish);
  for (const std::string& a : addresses)
    if (junmaru::transfer::LooksLikeUrl(a) && !junmaru::transfer::ParseRemoteUrl(a).url) std::abort();
  return 0;
}
