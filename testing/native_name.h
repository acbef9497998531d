#pragma once

#include <string>

#include "code_page.h"

namespace junmaru::testing {

// A file name written in the test source (UTF-8) as this system's file
// functions take it: UTF-8 on Linux, code page 932 on Windows, whose ANSI
// functions take a Japanese Windows' code page.
inline std::string NativeName(const std::string& utf8) {
#ifdef _WIN32
  return Utf8ToCp932(utf8);
#else
  return utf8;
#endif
}

}  // namespace junmaru::testing
