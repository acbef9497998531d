// A fuzzed link prefix and request path through the link encoder, the path
// given a piece at a time as the page gives it. The target must be what
// LinkTarget gives at once, begin with the escaped prefix, stay inside its
// double-quoted attribute, and, read back as a browser reads an href
// (entities decoded, blanks and controls stripped from the start, tabs and
// line breaks dropped), begin a scheme or an authority ("//", "\\") only
// where the prefix alone does: the ":" of a scheme and the second slash of
// an authority never come from the log's part.
//
// Input: one byte for the prefix's length, one for the size of the pieces
// (0: the whole path at once), the prefix, then the path.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

#include "html_escape.h"

namespace {

// The attribute's text as the browser reads it: the encoder writes "&"
// only to begin one of its own entities.
std::string DecodeEntities(std::string_view text) {
  static const std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}, {"&#61;", '='}};
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] != '&') {
      out += text[i++];
      continue;
    }
    bool known = false;
    for (const auto& [entity, c] : kEntities) {
      if (text.substr(i, entity.size()) == entity) {
        out += c;
        i += entity.size();
        known = true;
        break;
      }
    }
    if (!known) std::abort();
  }
  return out;
}

// What the URL parser starts from: leading C0 controls and blanks removed,
// tabs and line breaks removed everywhere.
std::string UrlInput(std::string_view decoded) {
  std::size_t start = 0;
  while (start < decoded.size() && static_cast<unsigned char>(decoded[start]) <= 0x20) ++start;
  std::string out;
  for (char c : decoded.substr(start))
    if (c != '\t' && c != '\n' && c != '\r') out += c;
  return out;
}

bool IsAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsSchemeByte(char c) { return IsAlpha(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'; }
bool IsSlash(char c) { return c == '/' || c == '\\'; }

// The position of the scheme's ":", npos when the URL has no scheme.
std::size_t SchemeColon(std::string_view url) {
  if (url.empty() || !IsAlpha(url[0])) return std::string_view::npos;
  std::size_t i = 1;
  while (i < url.size() && IsSchemeByte(url[i])) ++i;
  return i < url.size() && url[i] == ':' ? i : std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace junmaru;
  if (size < 2) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::string_view prefix = rest.substr(0, data[0] % (rest.size() + 1));
  const std::string_view path = rest.substr(prefix.size());
  const std::size_t piece = data[1] == 0 ? path.size() + 1 : data[1];

  const std::string escaped_prefix = EscapeAttribute(prefix);
  std::string target = escaped_prefix;
  LinkPathEncoder encoder(prefix);
  for (std::size_t at = 0; at < path.size(); at += piece) encoder.Append(path.substr(at, piece), target);

  if (target != LinkTarget(prefix, path)) std::abort();
  if (target.compare(0, escaped_prefix.size(), escaped_prefix) != 0) std::abort();
  for (char c : target) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '<' || c == '>' || c == '\'' || u < 0x20 || u == 0x7F) std::abort();
  }

  const std::string url = UrlInput(DecodeEntities(target));
  const std::size_t prefix_end = UrlInput(DecodeEntities(escaped_prefix)).size();
  // The prefix is the same bytes at the start of url, so positions below
  // prefix_end are the prefix's.
  if (url.compare(0, prefix_end, UrlInput(DecodeEntities(escaped_prefix))) != 0) std::abort();
  const std::size_t colon = SchemeColon(url);
  if (colon != std::string_view::npos && colon >= prefix_end) std::abort();
  const std::size_t after_scheme = colon == std::string_view::npos ? 0 : colon + 1;
  if (url.size() >= after_scheme + 2 && IsSlash(url[after_scheme]) && IsSlash(url[after_scheme + 1]) &&
      after_scheme + 1 >= prefix_end)
    std::abort();
  return 0;
}
