#include "terminal.h"

#include <io.h>
#include <windows.h>

#include "wide_text.h"

namespace junmaru {
namespace {

HANDLE ConsoleOf(std::FILE* stream) {
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode;
  return handle != INVALID_HANDLE_VALUE && GetFileType(handle) == FILE_TYPE_CHAR && GetConsoleMode(handle, &mode)
             ? handle
             : nullptr;
}

}  // namespace

bool IsTerminal(std::FILE* stream) {
  // The progress bar is redrawn with VT sequences: a console that cannot
  // take them shows no bar.
  HANDLE console = ConsoleOf(stream);
  DWORD mode;
  return console && GetConsoleMode(console, &mode) &&
         ((mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) ||
          SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING));
}

std::string TextForStream(std::FILE* stream, std::string_view utf8) {
  if (!ConsoleOf(stream)) return std::string(utf8);
  const UINT code_page = GetConsoleOutputCP();
  if (code_page == CP_UTF8) return std::string(utf8);
  return win32::FromWide(code_page, win32::ToWide(CP_UTF8, utf8));
}

}  // namespace junmaru
