#pragma once

#include <string>

#include "log_lines.h"
#include "log_moment.h"
#include "run_view.h"

namespace junmaru {

// The bracketed timestamp of line n (0-based) as Japanese date text, such
// as 2004年10月10日 13時55分36秒 for [10/Oct/2004:13:55:36 +0900]. The
// fields are read at fixed offsets from the line's first "[", untested.
//
// A line without "[" is the log format error: the status line turns to the
// error colour with its text, GO and both range spinners are disabled, and
// the result is empty. An index outside the log fails with the list index
// error and changes nothing.
std::string Date(const LogLines& lines, long long n, RunView& view);

// The log timestamp text of a moment: what Date gives for a line whose
// timestamp field holds that moment.
std::string TimestampText(LogMoment moment);

}  // namespace junmaru
