#pragma once

// The fields of an access-log line that the counting rules read besides
// the request path that RequestFilter::DownloadPath cuts: the request field
// read whatever the protocol (AnyHttp), the response status (Status), the
// user agent (Bots, and with the address the client of OncePerClient).
// Every test is on bytes, case-sensitive.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace junmaru {

// A request field and where it ends.
struct RequestField {
  std::string_view path;       // a view of the line
  std::size_t closing_quote;   // the position of the quote that ends the field
};

// The request field as the AnyHttp rule reads it: the first "\"GET " of
// the line starts it and the next double quote ends it; it must end with
// a space, "HTTP/" and a version made of digits and at most one dot, at
// least one digit (HTTP/1.0, HTTP/1.1, HTTP/2.0, HTTP/2, HTTP/3). The path
// is what lies between "GET " and that last space. None for a line whose
// field does not end so.
//
// AnyHttpPath gives the path, whose data() is null for none, and the
// closing quote's position in closing_quote: the path comes back in
// registers, where a RequestField would come back through memory, stored
// in pieces and loaded whole, which the processor cannot forward.
// With first_quote, the position of the line's first quote there too.
std::string_view AnyHttpPath(std::string_view line, std::size_t& closing_quote, std::size_t* first_quote = nullptr);
inline std::optional<RequestField> AnyHttpRequest(std::string_view line) {
  std::size_t closing_quote = 0;
  const std::string_view path = AnyHttpPath(line, closing_quote);
  if (path.data() == nullptr) return std::nullopt;
  return RequestField{path, closing_quote};
}

// The quote that opens the request field of a path AnyHttpPath gave.
inline std::size_t RequestQuote(std::string_view line, std::string_view path) {
  return static_cast<std::size_t>(path.data() - line.data()) - 5;  // before "\"GET "
}

// Where the request field ends for a path cut by today's rule (non-empty,
// a view of line): at the quote of the marker the path was cut before.
inline std::size_t MarkerQuote(std::string_view line, std::string_view path) {
  // The path ends one byte before "HTTP/1.x", which the quote follows.
  return static_cast<std::size_t>(path.data() - line.data()) + path.size() + 9;
}

// The response status: the three digits after the request field's closing
// quote and one space; -1 when they are not there.
int StatusAfter(std::string_view line, std::size_t closing_quote);

// The double quotes of a line, found in one pass: the request, the end of
// the timestamp and the user agent are all found by their quotes, and a
// line holds a handful of them.
class LineQuotes {
 public:
  explicit LineQuotes(std::string_view line);
  std::size_t Count() const { return kept_ <= kKept ? kept_ : more_.size(); }
  // The position of quote i (< Count()), in line order.
  std::size_t operator[](std::size_t i) const { return kept_ <= kKept ? at_[i] : more_[i]; }
  // Whether a backslash stands just before one of the quotes: only then
  // may a quote be escaped.
  bool MayBeEscaped() const { return escaped_; }

 private:
  static constexpr std::size_t kKept = 24;  // quotes held in place; a line with more has them in more_
  // Keeps the quote at at when kept quotes fill at_ (or more_ holds them
  // all already); gives the new count, past kKept from then on.
  std::size_t Spill(std::size_t kept, std::size_t at);

  std::size_t at_[kKept];
  std::size_t kept_ = 0;
  bool escaped_ = false;
  std::vector<std::size_t> more_;
};

// The user agent: the last double-quoted field of a line that holds at
// least three (the combined log format's request, referrer and agent).
// A field opens at a double quote and closes at the next one that no
// backslash escapes (servers write a quote inside a field as \" and a
// backslash as \\); a field left open at the end of the line is none.
// None for a line of fewer fields.
std::optional<std::string_view> UserAgent(std::string_view line, const LineQuotes& quotes);
inline std::optional<std::string_view> UserAgent(std::string_view line) { return UserAgent(line, LineQuotes(line)); }

// UserAgent(line) of a line whose first two double quotes are at first
// and second, found from the bytes after second alone. False, agent left
// as it is, when that cannot be told so: a backslash stands before one of
// the line's quotes, or the line is shorter than 64 bytes.
bool UserAgentAfter(std::string_view line, std::size_t first, std::size_t second,
                    std::optional<std::string_view>& agent);

// The client's address: the line's first field, up to the first space
// (the whole line when it has none).
std::string_view ClientAddress(std::string_view line);

}  // namespace junmaru
