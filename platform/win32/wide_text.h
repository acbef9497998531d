#pragma once

// Text between a Windows code page and UTF-16, for the Win32 half only.

#include <string>
#include <string_view>

namespace junmaru::win32 {

std::wstring ToWide(unsigned code_page, std::string_view text);
// What the code page cannot hold becomes "?", never a look-alike.
std::string FromWide(unsigned code_page, std::wstring_view wide);

}  // namespace junmaru::win32
