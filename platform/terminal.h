#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace junmaru {

// True when stream writes to a terminal (a console), where a progress
// bar can be redrawn in place.
bool IsTerminal(std::FILE* stream);

// The bytes that show utf8 text on stream. Linux terminals and every
// redirected output take UTF-8; a Windows console takes its own code page
// (932 on a Japanese Windows), unless that is UTF-8.
std::string TextForStream(std::FILE* stream, std::string_view utf8);

}  // namespace junmaru
