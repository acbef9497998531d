#include "user_home.h"

#include <windows.h>

namespace junmaru {

const char kNetrcName[] = "_netrc";

std::string HomeFolder() {
  char buffer[MAX_PATH * 4];
  const DWORD n = GetEnvironmentVariableA("USERPROFILE", buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

std::string UserName() {
  char buffer[256];
  DWORD size = sizeof buffer;
  return GetUserNameA(buffer, &size) && size > 0 ? std::string(buffer, size - 1) : std::string();
}

}  // namespace junmaru
