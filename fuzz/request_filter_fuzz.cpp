// Log lines from the fuzzer through the request filter and the tally, with
// the marker search checked against the rule as written and every counted
// path checked against the rules that should have dropped it.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "byte_string.h"
#include "download_tally.h"
#include "log_lines.h"
#include "request_filter.h"

namespace {

std::optional<std::string_view> ReferencePath(std::string_view line) {
  std::size_t e = line.find("HTTP/1.1\"");
  if (e == std::string_view::npos) e = line.find("HTTP/1.0\"");
  std::size_t g = line.find("\"GET");
  if (e == std::string_view::npos || g == std::string_view::npos) return std::nullopt;
  if (e < g + 6) return std::string_view{};
  return line.substr(g + 5, e - g - 6);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  using namespace junmaru;
  RunSettings settings;
  const unsigned switches = data[0] | (data[1] << 8);
  for (std::size_t i = 0; i < kFamilyCount; ++i) settings.Families[i] = (switches >> i) & 1;
  if (switches & 0x400) settings.KinsiWord = {"a", "", "  ", "\x83"};

  const LogLines lines = LogLines::FromBytes(std::string(reinterpret_cast<const char*>(data + 2), size - 2));
  const RequestFilter filter(settings);
  DownloadTally tally;
  long long counted = 0;
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const std::string_view line = lines[i];
    const auto path = RequestFilter::DownloadPath(line);
    if (path != ReferencePath(line)) std::abort();
    if (path && !filter.Drops(*path)) {
      if (RightBytes(*path, 5).find('.') == std::string_view::npos || EndsWithBytes(*path, "/")) std::abort();
      ++counted;
      tally.CountPath(*path);
    }
  }
  long long total = 0;
  for (const auto& entry : tally.Entries()) total += entry.count;
  if (total != counted) std::abort();
  return 0;
}
