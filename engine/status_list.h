#pragma once

// The Status counting rule's list: the response statuses that count, such
// as "200,206". An empty list sets no rule: every status counts.

#include <bitset>
#include <optional>
#include <string>
#include <string_view>

namespace junmaru {

class StatusList {
 public:
  StatusList() = default;

  // Three-digit statuses separated by commas, blanks allowed around each;
  // an empty or blank text is the empty list. None for anything else.
  static std::optional<StatusList> Parse(std::string_view text);

  bool Empty() const { return codes_.none(); }
  // True when status (0 to 999) is in the list.
  bool Holds(int status) const { return status >= 0 && status < 1000 && codes_[static_cast<std::size_t>(status)]; }
  // The text it was read from, without blanks at either end.
  const std::string& Text() const { return text_; }

  // Lists holding the same statuses are equal, however written.
  friend bool operator==(const StatusList& a, const StatusList& b) { return a.codes_ == b.codes_; }

 private:
  std::bitset<1000> codes_;
  std::string text_;
};

}  // namespace junmaru
