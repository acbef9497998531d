#include "log_fields.h"

#include <cstring>

#include "byte_string.h"
#include "simd_bytes.h"

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

constexpr std::string_view kGet = "\"GET ";

// The last space of a request field, or npos. The field ends with a short
// " HTTP/..." of varied length: its last sixteen bytes are looked at together.
std::size_t LastSpace(std::string_view field) {
#if defined(__SSE2__)
  if (field.size() >= 16) {
    if (const unsigned mask = Matches16(field.data() + field.size() - 16, ' '))
      return field.size() - 16 + static_cast<std::size_t>(31 - __builtin_clz(mask));
  }
#endif
  return field.rfind(' ');
}

// Whether the quote at q opens "\"GET ".
bool OpensGet(std::string_view line, std::size_t q) {
  return q + kGet.size() <= line.size() && std::memcmp(line.data() + q + 1, kGet.data() + 1, kGet.size() - 1) == 0;
}

// The request field that the quote at get opens and the next quote, at
// quote, ends, if it ends as the AnyHttp rule asks.
std::optional<RequestField> RequestBetween(std::string_view line, std::size_t get, std::size_t quote) {
  const std::size_t start = get + kGet.size();
  const std::string_view field = line.substr(start, quote - start);
  const std::size_t space = LastSpace(field);
  if (space == std::string_view::npos) return std::nullopt;
  const std::string_view protocol = field.substr(space + 1);
  constexpr std::string_view kHttp = "HTTP/";
  if (!StartsWithBytes(protocol, kHttp) || !IsVersion(protocol.substr(kHttp.size()))) return std::nullopt;
  return RequestField{field.substr(0, space), quote};
}

}  // namespace

std::string_view AnyHttpPath(std::string_view line, std::size_t& closing_quote) {
  constexpr std::size_t npos = std::string_view::npos;
  std::size_t get = npos, quote = npos;
  ForEachQuote(line, [&](std::size_t q) {
    if (get != npos) return quote = q, true;
    if (OpensGet(line, q)) get = q;
    return false;
  });
  if (quote == npos) return {};
  const std::optional<RequestField> request = RequestBetween(line, get, quote);
  if (!request) return {};
  closing_quote = request->closing_quote;
  return request->path;
}

int StatusAfter(std::string_view line, std::size_t closing_quote) {
  const std::size_t at = closing_quote + 2;
  if (at + 3 > line.size() || line[closing_quote + 1] != ' ') return -1;
  if (!IsDigit(line[at]) || !IsDigit(line[at + 1]) || !IsDigit(line[at + 2])) return -1;
  return (line[at] - '0') * 100 + (line[at + 1] - '0') * 10 + (line[at + 2] - '0');
}

LineQuotes::LineQuotes(std::string_view line) {
  // Counted in locals, which stay in registers while the positions are stored.
  std::size_t kept = 0;
  bool escaped = false;
  ForEachQuote(line, [&](std::size_t quote) {
    escaped |= quote > 0 && line[quote - 1] == '\\';
    if (kept < kKept) [[likely]]
      at_[kept++] = quote;
    else
      kept = Spill(kept, quote);
    return false;
  });
  kept_ = kept, escaped_ = escaped;
}

std::size_t LineQuotes::Spill(std::size_t kept, std::size_t at) {
  if (kept == kKept) more_.assign(at_, at_ + kKept);  // from now on more_ holds them all
  more_.push_back(at);
  return kKept + 1;
}

std::optional<std::string_view> UserAgent(std::string_view line, const LineQuotes& quotes) {
  const std::size_t n = quotes.Count();
  if (!quotes.MayBeEscaped()) {
    // No quote is escaped: the fields are the quotes taken two by two,
    // and the last whole pair is the user agent.
    if (n < 6) return std::nullopt;
    const std::size_t open = quotes[(n & ~std::size_t{1}) - 2];
    return line.substr(open + 1, quotes[(n & ~std::size_t{1}) - 1] - open - 1);
  }
  int fields = 0;
  std::string_view last;
  for (std::size_t i = 0; i < n;) {
    const std::size_t open = quotes[i];
    std::size_t j = i + 1;
    for (;; ++j) {
      // A field left open at the end of the line is none.
      if (j == n) return fields >= 3 ? std::optional(last) : std::nullopt;
      const std::size_t close = quotes[j];
      std::size_t backslashes = 0;
      while (close - backslashes > open + 1 && line[close - backslashes - 1] == '\\') ++backslashes;
      if (backslashes % 2 == 0) break;  // not escaped: the field ends here
    }
    ++fields;
    last = line.substr(open + 1, quotes[j] - open - 1);
    i = j + 1;
  }
  return fields >= 3 ? std::optional(last) : std::nullopt;
}

std::string_view ClientAddress(std::string_view line) {
#if defined(__SSE2__)
  // An address is short: its space is nearly always among the first sixteen bytes.
  if (line.size() >= 16) {
    if (const unsigned mask = Matches16(line.data(), ' ')) return line.substr(0, static_cast<std::size_t>(__builtin_ctz(mask)));
  }
#endif
  return line.substr(0, line.find(' '));
}

}  // namespace junmaru
