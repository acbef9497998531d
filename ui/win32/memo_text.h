#pragma once

// The memo's text and its lines, as the form splits a memo's text (a Win32
// multi-line edit writes its own line breaks as CR LF, and word wrap adds
// none). Each line is cut at the memo's line limit.

#include <string>
#include <vector>

namespace junmaru::win32 {

std::vector<std::string> MemoTextLines(const std::string& cp932_text);
std::string MemoTextOf(const std::vector<std::string>& lines);

}  // namespace junmaru::win32
