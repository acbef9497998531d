#include "terminal.h"

#include <unistd.h>

namespace junmaru {

bool IsTerminal(std::FILE* stream) { return ::isatty(::fileno(stream)) == 1; }

std::string TextForStream(std::FILE*, std::string_view utf8) { return std::string(utf8); }

}  // namespace junmaru
