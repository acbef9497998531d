#include "terminal.h"

#include <unistd.h>

namespace junmaru {

bool IsTerminal(std::FILE* stream) { return ::isatty(::fileno(stream)) == 1; }

}  // namespace junmaru
