#pragma once

#include <cstdio>

namespace junmaru {

// True when stream writes to a terminal (a console), where a progress
// bar can be redrawn in place.
bool IsTerminal(std::FILE* stream);

}  // namespace junmaru
