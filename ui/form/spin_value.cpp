#include "spin_value.h"

#include <limits>

namespace junmaru::form {

std::int32_t SpinValueOf(std::string_view text, std::int32_t minimum) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i == text.size()) return minimum;
  // Accumulate the magnitude in 64 bits and stop as soon as it leaves the
  // 32-bit range, so a long run of digits cannot overflow.
  const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                      : std::numeric_limits<std::int32_t>::max();
  std::int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return minimum;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > limit) return minimum;
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::int64_t ClampSpinValue(std::int64_t value, std::int32_t minimum, std::int32_t maximum) {
  if (minimum == maximum) return value;
  if (value < minimum) return minimum;
  if (value > maximum) return maximum;
  return value;
}

bool SpinValueOutside(std::int64_t value, std::int32_t minimum, std::int32_t maximum) {
  return ClampSpinValue(value, minimum, maximum) != value;
}

}  // namespace junmaru::form
