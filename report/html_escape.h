#pragma once

#include <string>
#include <string_view>

namespace junmaru {

// Text from the log made safe to place in the page, in element content and
// in double-quoted attribute values alike: & < > " ' become &amp; &lt;
// &gt; &quot; &#39;, and every other byte is kept. The five characters are
// all below 0x40, so none of them can be the second byte of a double-byte
// character, and the bytes can be escaped one by one.
std::string EscapeHtml(std::string_view text);
// The same, appended to out.
void AppendHtmlEscaped(std::string_view text, std::string& out);

// A value from the settings (a colour, the link prefix) as the content of
// a double-quoted attribute: escaped as above, and "=" as &#61; (so that
// not even the text of an attribute such as onmouseover= appears), with
// NUL and the other control bytes (below 0x20, and 0x7F) left out. None
// of those can be part of a double-byte character either; the browser
// reads the value back as typed, less the control bytes.
std::string EscapeAttribute(std::string_view value);

// The target of a row's link: the keeper's prefix, written as typed (only
// escaped as above), then the part of the request path after its first
// byte, encoded so that the link stays on the keeper's site and never runs
// script. The path part percent-encodes what would let it begin a scheme
// or another host: a ":" before the link's first "/" (a scheme such as
// "javascript:", also one it would complete with the prefix), its own
// first byte when that is "/" or "\" (which after an empty prefix or one
// ending in "/" or ":" begins an authority, "//host" or "/\host"), and
// the blank and control bytes that browsers drop from a link, which could
// bring such pieces together. Ordinary paths keep every byte.
std::string LinkTarget(std::string_view prefix, std::string_view path_after_first_byte);

// The path part of a link target after prefix, encoded and escaped as
// LinkTarget does, for a path that may arrive a piece at a time: it
// carries from one piece to the next whether the first byte is still to
// come and whether a "/" has been seen (in the prefix or the path).
class LinkPathEncoder {
 public:
  explicit LinkPathEncoder(std::string_view prefix) : slash_seen_(prefix.find('/') != std::string_view::npos) {}
  // Appends the next piece of the path to out.
  void Append(std::string_view piece, std::string& out);

 private:
  bool slash_seen_;
  bool first_ = true;
};

}  // namespace junmaru
