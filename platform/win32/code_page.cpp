#include "code_page.h"

#include <windows.h>

#include "wide_text.h"

namespace junmaru {

// Code page 932 by number, whatever the system's ANSI code page is.
std::string Utf8ToCp932(std::string_view utf8) { return win32::FromWide(932, win32::ToWide(CP_UTF8, utf8)); }

std::string Cp932ToUtf8(std::string_view cp932) { return win32::FromWide(CP_UTF8, win32::ToWide(932, cp932)); }

}  // namespace junmaru
