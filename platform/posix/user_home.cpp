#include "user_home.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace junmaru {

const char kNetrcName[] = ".netrc";

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  const passwd* entry = ::getpwuid(::geteuid());
  return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

std::string UserName() {
  const passwd* entry = ::getpwuid(::geteuid());
  return entry != nullptr && entry->pw_name != nullptr ? entry->pw_name : "";
}

}  // namespace junmaru
