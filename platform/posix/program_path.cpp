#include "program_path.h"

#include <sys/auxv.h>
#include <unistd.h>

#include "file_io.h"

namespace junmaru {

std::string ExecutablePath() {
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n <= 0) return {};
    if (static_cast<std::size_t>(n) < buffer.size()) return buffer.substr(0, static_cast<std::size_t>(n));
    buffer.resize(buffer.size() * 2);
  }
}

std::string ProgramFolder() {
  const std::string executable = ExecutablePath();
  if (!executable.empty()) return FolderOf(executable);
  // The kernel names no executable whose path is longer than a page. The
  // name it was started by is never that long, and still leads to it:
  // nothing in the program changes the working folder.
  const auto* started_as = reinterpret_cast<const char*>(::getauxval(AT_EXECFN));
  return started_as != nullptr ? FolderOf(started_as) : ".";
}

}  // namespace junmaru
