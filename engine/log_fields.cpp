#include "log_fields.h"

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

// Whether the quote at q opens "\"GET ".
bool OpensGet(std::string_view line, std::size_t q) { return line.compare(q, kGet.size(), kGet) == 0; }

// The request field that the quote at get opens and the next quote, at
// quote, ends, if it ends as the AnyHttp rule asks.
std::optional<RequestField> RequestBetween(std::string_view line, std::size_t get, std::size_t quote) {
  const std::size_t start = get + kGet.size();
  const std::string_view field = line.substr(start, quote - start);
  const std::size_t space = field.rfind(' ');
  if (space == std::string_view::npos) return std::nullopt;
  const std::string_view protocol = field.substr(space + 1);
  constexpr std::string_view kHttp = "HTTP/";
  if (!StartsWithBytes(protocol, kHttp) || !IsVersion(protocol.substr(kHttp.size()))) return std::nullopt;
  return RequestField{field.substr(0, space), quote};
}

}  // namespace

std::optional<RequestField> AnyHttpRequest(std::string_view line) {
  constexpr std::size_t npos = std::string_view::npos;
  std::size_t get = npos, quote = npos;
  ForEachQuote(line, [&](std::size_t q) {
    if (get != npos) return quote = q, true;
    if (OpensGet(line, q)) get = q;
    return false;
  });
  if (quote == npos) return std::nullopt;
  return RequestBetween(line, get, quote);
}

std::optional<RequestField> AnyHttpRequest(std::string_view line, const LineQuotes& quotes) {
  for (std::size_t i = 0; i < quotes.Count(); ++i)
    if (OpensGet(line, quotes[i])) return i + 1 < quotes.Count() ? RequestBetween(line, quotes[i], quotes[i + 1]) : std::nullopt;
  return std::nullopt;
}

int StatusAfter(std::string_view line, std::size_t closing_quote) {
  const std::size_t at = closing_quote + 2;
  if (at + 3 > line.size() || line[closing_quote + 1] != ' ') return -1;
  if (!IsDigit(line[at]) || !IsDigit(line[at + 1]) || !IsDigit(line[at + 2])) return -1;
  return (line[at] - '0') * 100 + (line[at + 1] - '0') * 10 + (line[at + 2] - '0');
}

LineQuotes::LineQuotes(std::string_view line) : backslash_(line.find('\\') != std::string_view::npos) {
  ForEachQuote(line, [this](std::size_t quote) {
    if (kept_ < kKept) [[likely]]
      at_[kept_++] = quote;
    else
      Spill(quote);
    return false;
  });
}

void LineQuotes::Spill(std::size_t at) {
  if (kept_ == kKept) more_.assign(at_, at_ + kKept), kept_ = kKept + 1;  // from now on more_ holds them all
  more_.push_back(at);
}

std::optional<std::string_view> UserAgent(std::string_view line, const LineQuotes& quotes) {
  const std::size_t n = quotes.Count();
  if (!quotes.Backslash()) {
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

}  // namespace junmaru
