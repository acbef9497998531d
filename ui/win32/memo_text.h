#pragma once

// The memo's text and its lines. A Win32 multi-line edit separates its
// lines by CR LF; word wrap adds no breaks, so the lines are the words as
// typed. A final line break adds no empty line, so an empty memo has no
// lines; an empty line between others counts. Each line is cut at the
// memo's line limit.

#include <string>
#include <vector>

namespace junmaru::win32 {

std::vector<std::string> MemoTextLines(const std::string& cp932_text);
std::string MemoTextOf(const std::vector<std::string>& lines);

}  // namespace junmaru::win32
