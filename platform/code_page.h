#pragma once

#include <string>
#include <string_view>

namespace junmaru {

// Conversions between UTF-8 and code page 932. What cannot be converted
// becomes "?", so the result is always usable for display.
std::string Utf8ToCp932(std::string_view utf8);
std::string Cp932ToUtf8(std::string_view cp932);

// A path as the settings file stores it, and back: the file is code page
// 932 text on every system, so that one file serves Linux and Windows. On
// Windows a path is code page 932 bytes already and is stored as it is. On
// Linux a UTF-8 name is stored converted; a name that code page 932 cannot
// hold (or that is no UTF-8) is stored as its own bytes. A stored value
// that is valid UTF-8 is read as it is (such a name, ASCII, or a file an
// earlier Linux version wrote); any other is read as code page 932.
std::string StoredPath(const std::string& native_path);
std::string NativePath(const std::string& stored_path);

// A fixed text of the program (a UTF-8 literal in the source), in code
// page 932. Each literal is converted once and kept.
const std::string& Sjis(const char* utf8_literal);

}  // namespace junmaru
