#pragma once

#include <string>

namespace junmaru {

// The full path of the running program's executable, empty when the
// system does not tell.
std::string ExecutablePath();

}  // namespace junmaru
