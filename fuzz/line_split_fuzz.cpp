// The log's compact lines and the text list's lines must be the same for
// any bytes, and every line must be free of line breaks.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "log_lines.h"
#include "text_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace junmaru;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const LogLines lines = LogLines::FromBytes(bytes);
  const std::vector<std::string> list = TextList::SplitText(bytes);
  if (lines.Count() != list.size()) std::abort();
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (lines[i] != list[i]) std::abort();
    if (list[i].find_first_of(std::string("\r\n\0", 3)) != std::string::npos) std::abort();
  }
  return 0;
}
