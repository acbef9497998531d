#include "log_fields.h"

#include <cstring>

#include "byte_string.h"

namespace junmaru {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A protocol version: digits and at most one dot, at least one digit.
bool IsVersion(std::string_view text) {
  int dots = 0, digits = 0;
  for (char c : text) {
    if (IsDigit(c))
      ++digits;
    else if (c == '.')
      ++dots;
    else
      return false;
  }
  return digits > 0 && dots <= 1;
}

// The position of the first byte c in line from at on, or npos.
std::size_t Find(std::string_view line, char c, std::size_t at) {
  if (at >= line.size()) return std::string_view::npos;
  const void* hit = std::memchr(line.data() + at, c, line.size() - at);
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - line.data()) : std::string_view::npos;
}

// The position of the first "\"GET " in line, or npos: a quote at a time,
// which on log lines (a handful of quotes) is faster than a general search.
std::size_t FindGet(std::string_view line) {
  constexpr std::string_view kGet = "\"GET ";
  for (std::size_t at = Find(line, '"', 0); at != std::string_view::npos; at = Find(line, '"', at + 1))
    if (line.compare(at, kGet.size(), kGet) == 0) return at;
  return std::string_view::npos;
}

}  // namespace

std::optional<RequestField> AnyHttpRequest(std::string_view line) {
  const std::size_t get = FindGet(line);
  if (get == std::string_view::npos) return std::nullopt;
  const std::size_t start = get + 5;  // after "\"GET "
  const std::size_t quote = Find(line, '"', start);
  if (quote == std::string_view::npos) return std::nullopt;
  const std::string_view field = line.substr(start, quote - start);
  const std::size_t space = field.rfind(' ');
  if (space == std::string_view::npos) return std::nullopt;
  const std::string_view protocol = field.substr(space + 1);
  constexpr std::string_view kHttp = "HTTP/";
  if (!StartsWithBytes(protocol, kHttp) || !IsVersion(protocol.substr(kHttp.size()))) return std::nullopt;
  return RequestField{field.substr(0, space), quote};
}

int StatusAfter(std::string_view line, std::size_t closing_quote) {
  const std::size_t at = closing_quote + 2;
  if (at + 3 > line.size() || line[closing_quote + 1] != ' ') return -1;
  if (!IsDigit(line[at]) || !IsDigit(line[at + 1]) || !IsDigit(line[at + 2])) return -1;
  return (line[at] - '0') * 100 + (line[at + 1] - '0') * 10 + (line[at + 2] - '0');
}

std::optional<std::string_view> UserAgent(std::string_view line) {
  int fields = 0;
  std::string_view last;
  for (std::size_t open = Find(line, '"', 0); open != std::string_view::npos;) {
    std::size_t close = open;
    for (;;) {
      close = Find(line, '"', close + 1);
      if (close == std::string_view::npos) return fields >= 3 ? std::optional(last) : std::nullopt;
      std::size_t backslashes = 0;
      while (close - backslashes > open + 1 && line[close - backslashes - 1] == '\\') ++backslashes;
      if (backslashes % 2 == 0) break;  // not escaped: the field ends here
    }
    ++fields;
    last = line.substr(open + 1, close - open - 1);
    open = Find(line, '"', close + 1);
  }
  return fields >= 3 ? std::optional(last) : std::nullopt;
}

}  // namespace junmaru
