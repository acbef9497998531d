#include "log_selection.h"

#include "cp932.h"
#include "file_io.h"

namespace junmaru::form {

std::string ShownPath(const std::string& native_path, PathDisplayLimit limit) {
  const std::string text = PathForMessage(native_path);  // the native bytes as code page 932
  if (text.size() <= limit.whole_max) return text;
  return text.substr(0, 3) + Sjis("..(略)..") + text.substr(text.size() - limit.tail);
}

RangeAction RangeActionFor(std::int64_t value, std::int32_t minimum, std::int32_t maximum,
                           std::size_t line_count) {
  if (minimum == maximum && value != minimum) return RangeAction::kPullBack;
  if (value < minimum || value > maximum) return RangeAction::kIgnore;
  if (value < 1 || static_cast<std::uint64_t>(value) > line_count) return RangeAction::kIgnore;
  return RangeAction::kShow;
}

}  // namespace junmaru::form
