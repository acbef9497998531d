#pragma once

// A line of the ranking page as it is composed: fixed text, and within it
// texts from the log that are escaped only while the line is written, a
// piece at a time. A line holds those texts as views, so it needs no
// memory for them however long they are; what they point into (the log)
// must outlive the line.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "byte_sink.h"
#include "html_escape.h"

namespace junmaru {

class PageLine {
 public:
  PageLine() = default;
  // A line of fixed text (implicit: such a text is a whole line).
  PageLine(std::string fixed) : fixed_(std::move(fixed)) {}

  // Appends bytes written as they are.
  PageLine& Append(std::string_view fixed);
  // Appends text from the log, escaped as EscapeHtml escapes it.
  PageLine& AppendEscaped(std::string_view text);
  // Appends the path part of a link target (the path after its first
  // byte), encoded by a copy of link as it stands here.
  PageLine& AppendLinkPath(std::string_view path_after_first_byte, const LinkPathEncoder& link);

  // Writes the line's bytes, without a line break.
  void WriteTo(ByteSink& sink) const;
  // The line's bytes as one string.
  std::string Bytes() const;

 private:
  struct Insert {
    std::size_t at;  // where in fixed_ the text stands
    std::string_view text;
    std::optional<LinkPathEncoder> link;  // unset for text escaped as HTML
  };

  std::string fixed_;
  std::vector<Insert> inserts_;
};

}  // namespace junmaru
