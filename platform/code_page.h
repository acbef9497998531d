#pragma once

#include <string>
#include <string_view>

namespace junmaru {

// Conversions between UTF-8 and code page 932. What cannot be converted
// becomes "?", so the result is always usable for display.
std::string Utf8ToCp932(std::string_view utf8);
std::string Cp932ToUtf8(std::string_view cp932);

// A fixed text of the program (a UTF-8 literal in the source), in code
// page 932. Each literal is converted once and kept.
const std::string& Sjis(const char* utf8_literal);

}  // namespace junmaru
