#pragma once

#include <string>

namespace junmaru {

// The full path of the running program's executable, empty when the
// system does not tell.
std::string ExecutablePath();

// The folder that holds the running program's executable, for an
// executable path of any length: where the full path is too long for the
// system to give, the folder of the name the program was started by,
// which may be relative to the working folder.
std::string ProgramFolder();

}  // namespace junmaru
