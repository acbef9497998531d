// Every line of a fuzzed log through the timestamp reader.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "error.h"
#include "log_lines.h"
#include "log_timestamp.h"
#include "quiet_view.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace junmaru;
  const LogLines lines = LogLines::FromBytes(std::string(reinterpret_cast<const char*>(data), size));
  fuzz::QuietView view;
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const std::string date = Date(lines, static_cast<long long>(i), view);
    // Six fields of at most four bytes, six kanji of two bytes and a space.
    if (date.size() > 2 + 3 + 2 + 4 + 2 + 2 + 12 + 1) std::abort();
    if (date.empty() != (lines[i].find('[') == std::string_view::npos)) std::abort();
  }
  try {
    Date(lines, static_cast<long long>(lines.Count()), view);
    std::abort();
  } catch (const Error&) {
  }
  return 0;
}
