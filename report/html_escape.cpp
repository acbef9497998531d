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

void AppendHtmlEscapedByte(char c, std::string& out) {
  switch (c) {
    case '&': out += "&amp;"; break;
    case '<': out += "&lt;"; break;
    case '>': out += "&gt;"; break;
    case '"': out += "&quot;"; break;
    case '\'': out += "&#39;"; break;
    default: out += c;
  }
}

}  // namespace

void AppendHtmlEscaped(std::string_view text, std::string& out) {
  for (char c : text) AppendHtmlEscapedByte(c, out);
}

std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendHtmlEscaped(text, out);
  return out;
}

std::string EscapeAttribute(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (char c : value) {
    if (IsControl(static_cast<unsigned char>(c))) continue;
    if (c == '=') out += "&#61;";
    else AppendHtmlEscapedByte(c, out);
  }
  return out;
}

void LinkPathEncoder::Append(std::string_view piece, std::string& out) {
  for (char byte : piece) {
    const auto c = static_cast<unsigned char>(byte);
    const bool starts_authority = first_ && (c == '/' || c == '\\');
    first_ = false;
    if (IsControl(c) || c == ' ' || starts_authority || (c == ':' && !slash_seen_)) {
      AppendPercent(out, c);
    } else {
      AppendHtmlEscapedByte(byte, out);
      slash_seen_ = slash_seen_ || c == '/';
    }
  }
}

std::string LinkTarget(std::string_view prefix, std::string_view path) {
  std::string target = EscapeAttribute(prefix);
  LinkPathEncoder(prefix).Append(path, target);
  return target;
}

}  // namespace junmaru
