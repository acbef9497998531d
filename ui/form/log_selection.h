#pragma once

// Rules of choosing the log and the report file that need no widget: how a
// path display shortens a long path, where the report goes for a newly
// chosen log, and which values of a range spinner name a line that its
// label can describe.

#include <cstddef>
#include <cstdint>
#include <string>

namespace junmaru::form {

// A path display shows a path whole up to whole_max bytes; a longer one as
// its first 3 bytes, "..(略).." and its last tail bytes.
struct PathDisplayLimit {
  std::size_t whole_max;
  std::size_t tail;
};
// Both paths, when a log is chosen or loaded.
inline constexpr PathDisplayLimit kLoadedPathLimit{80, 70};
// The report path, when it is chosen on its own.
inline constexpr PathDisplayLimit kChosenReportLimit{75, 65};

// The code page 932 text a path display shows for a native path (UTF-8 on
// Linux, code page 932 already on Windows).
// Bytes are counted and cut in code page 932, without regard to
// double-byte characters: the text is for display only.
std::string ShownPath(const std::string& native_path, PathDisplayLimit limit);

// What a range spinner's change handler does with the value it shows.
enum class RangeAction {
  kIgnore,    // outside the spinner's limits (or the log): nothing changes
  kShow,      // a line of the log: its label and the other spinner follow
  kPullBack,  // the spinner allows one line only and shows another: set it back
};

// A spinner whose limits are equal (a two-line log) would take any value
// its arrows or the keyboard give it, so it is pulled back to its one line.
// A value beyond the loaded log is ignored even inside the limits, so that
// a label never asks for a line the log does not have.
RangeAction RangeActionFor(std::int64_t value, std::int32_t minimum, std::int32_t maximum,
                           std::size_t line_count);

}  // namespace junmaru::form
