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

std::string_view AnyHttpPath(std::string_view line, std::size_t& closing_quote, std::size_t* first_quote) {
  constexpr std::size_t npos = std::string_view::npos;
  std::size_t get = npos, quote = npos, first = npos;
  ForEachQuote(line, [&](std::size_t q) {
    if (get != npos) return quote = q, true;
    if (first == npos) first = q;
    if (OpensGet(line, q)) get = q;
    return false;
  });
  if (first_quote) *first_quote = first;
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

#if defined(__SSE2__)
namespace {

// The last three of the quotes met so far, the latest last, and how many.
struct LastQuotes {
  std::size_t at[3] = {0, 0, 0};
  std::size_t count = 0;

  static std::size_t Highest(std::uint64_t mask) { return static_cast<std::size_t>(63 - __builtin_clzll(mask | 1)); }
  static std::uint64_t WithoutHighest(std::uint64_t mask) { return mask & ~(std::uint64_t{1} << Highest(mask)); }

  // Takes in the quotes of a block at base, a bit each; a block holds
  // any number of them, so the last three are chosen without a branch.
  void Add(std::uint64_t quotes, std::size_t base) {
    const std::size_t n = static_cast<std::size_t>(__builtin_popcountll(quotes));
    const std::uint64_t second = WithoutHighest(quotes), third = WithoutHighest(second);
    const std::size_t a = base + Highest(quotes), b = base + Highest(second), c = base + Highest(third);
    const std::size_t p0 = at[0], p1 = at[1], p2 = at[2];
    at[2] = n >= 1 ? a : p2;
    at[1] = n >= 2 ? b : n == 1 ? p2 : p1;
    at[0] = n >= 3 ? c : n == 2 ? p2 : n == 1 ? p1 : p0;
    count += n;
  }
};

}  // namespace
#endif

bool UserAgentAfter(std::string_view line, std::size_t first, std::size_t second,
                    std::optional<std::string_view>& agent) {
#if defined(__SSE2__)
  const std::size_t size = line.size();
  if (size < 64 || (first > 0 && line[first - 1] == '\\') || line[second - 1] == '\\') return false;
  LastQuotes last;
  std::uint64_t escaped = 0, backslash_before = 0;  // a backslash ends the block before
  std::size_t i = second + 1;
  for (; i + 64 <= size; i += 64) {
    const Bytes64 bytes(line.data() + i);
    const std::uint64_t quotes = bytes.Bits(IsQuote), backslashes = bytes.Bits(IsBackslash);
    escaped |= quotes & (backslashes << 1 | backslash_before);
    backslash_before = backslashes >> 63;
    last.Add(quotes, i);
  }
  if (i < size) {
    // The last 64 bytes, of which the first were looked at already.
    const std::size_t base = size - 64, seen = i - base;
    const Bytes64 bytes(line.data() + base);
    const std::uint64_t quotes = bytes.Bits(IsQuote) >> seen << seen, backslashes = bytes.Bits(IsBackslash);
    escaped |= quotes & backslashes << 1;  // seen > 0: the byte before each quote is in the block
    last.Add(quotes, base);
  }
  if (escaped != 0) return false;
  // The request is the first field; the others are the quotes after it,
  // two by two, and a last one left open is none. The line holds at least
  // three fields when two whole ones follow the request.
  if (last.count < 4) {
    agent.reset();
  } else {
    const std::size_t open = last.count % 2 == 0 ? last.at[1] : last.at[0];
    const std::size_t close = last.count % 2 == 0 ? last.at[2] : last.at[1];
    agent = line.substr(open + 1, close - open - 1);
  }
  return true;
#else
  (void)line, (void)first, (void)second, (void)agent;
  return false;
#endif
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
