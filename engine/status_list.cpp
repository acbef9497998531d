#include "status_list.h"

namespace junmaru {
namespace {

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<StatusList> StatusList::Parse(std::string_view text) {
  StatusList list;
  list.text_ = Trimmed(text);
  if (list.text_.empty()) return list;
  std::string_view rest = list.text_;
  for (;;) {
    const std::size_t comma = rest.find(',');
    const std::string_view code = Trimmed(rest.substr(0, comma));
    if (code.size() != 3) return std::nullopt;
    int value = 0;
    for (char c : code) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + (c - '0');
    }
    list.codes_.set(static_cast<std::size_t>(value));
    if (comma == std::string_view::npos) return list;
    rest.remove_prefix(comma + 1);
  }
}

}  // namespace junmaru
