#include "code_page.h"

#include <windows.h>

#include "wide_text.h"

namespace junmaru {

// Code page 932 by number, whatever the system's ANSI code page is.
std::string Utf8ToCp932(std::string_view utf8) { return win32::FromWide(932, win32::ToWide(CP_UTF8, utf8)); }

std::string Cp932ToUtf8(std::string_view cp932) { return win32::FromWide(CP_UTF8, win32::ToWide(932, cp932)); }

// Paths are code page 932 bytes already: the ANSI functions of a Japanese
// Windows take them.
std::string StoredPath(const std::string& native_path) { return native_path; }

std::string NativePath(const std::string& stored_path) { return stored_path; }

}  // namespace junmaru
