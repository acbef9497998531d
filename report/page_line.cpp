#include "page_line.h"

namespace junmaru {
namespace {

// How many bytes of a text from the log are escaped at a time: the
// escaped piece takes at most six times as many.
constexpr std::size_t kPieceBytes = 16 << 10;

}  // namespace

PageLine& PageLine::Append(std::string_view fixed) {
  fixed_.append(fixed);
  return *this;
}

PageLine& PageLine::AppendEscaped(std::string_view text) {
  inserts_.push_back({fixed_.size(), text, std::nullopt});
  return *this;
}

PageLine& PageLine::AppendLinkPath(std::string_view path_after_first_byte, const LinkPathEncoder& link) {
  inserts_.push_back({fixed_.size(), path_after_first_byte, link});
  return *this;
}

void PageLine::WriteTo(ByteSink& sink) const {
  const std::string_view fixed = fixed_;
  std::size_t written = 0;
  std::string escaped;
  for (const Insert& insert : inserts_) {
    sink.Write(fixed.substr(written, insert.at - written));
    written = insert.at;
    std::optional<LinkPathEncoder> link = insert.link;
    for (std::size_t at = 0; at < insert.text.size(); at += kPieceBytes) {
      const std::string_view piece = insert.text.substr(at, kPieceBytes);
      escaped.clear();
      if (link) link->Append(piece, escaped);
      else AppendHtmlEscaped(piece, escaped);
      sink.Write(escaped);
    }
  }
  sink.Write(fixed.substr(written));
}

std::string PageLine::Bytes() const {
  std::string bytes;
  StringSink sink(bytes);
  WriteTo(sink);
  return bytes;
}

}  // namespace junmaru
