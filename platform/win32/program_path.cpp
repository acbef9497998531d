#include "program_path.h"

#include <windows.h>

#include "file_io.h"

namespace junmaru {

std::string ExecutablePath() {
  // GetModuleFileNameA cuts the path to the buffer without saying so
  // except by filling it: grow until the path fits.
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    if (path.size() >= 1 << 16) return {};
    path.resize(path.size() * 2);
  }
}

std::string ProgramFolder() {
  const std::string executable = ExecutablePath();
  return executable.empty() ? "." : FolderOf(executable);
}

}  // namespace junmaru
