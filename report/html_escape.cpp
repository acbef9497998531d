#include "html_escape.h"

namespace junmaru {
namespace {

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

void AppendPercent(std::string& out, unsigned char c) {
  static const char kHex[] = "0123456789ABCDEF";
  out += '%';
  out += kHex[c >> 4];
  out += kHex[c & 0x0F];
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string EscapeAttribute(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (char c : value) {
    if (IsControl(static_cast<unsigned char>(c))) continue;
    if (c == '=') out += "&#61;";
    else out += EscapeHtml(std::string_view(&c, 1));
  }
  return out;
}

std::string LinkTarget(std::string_view prefix, std::string_view path) {
  std::string encoded;
  encoded.reserve(path.size());
  bool slash_seen = prefix.find('/') != std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const auto c = static_cast<unsigned char>(path[i]);
    const bool starts_authority = i == 0 && (c == '/' || c == '\\');
    if (IsControl(c) || c == ' ' || starts_authority || (c == ':' && !slash_seen)) {
      AppendPercent(encoded, c);
    } else {
      encoded += static_cast<char>(c);
      slash_seen = slash_seen || c == '/';
    }
  }
  return EscapeAttribute(prefix) + EscapeHtml(encoded);
}

}  // namespace junmaru
