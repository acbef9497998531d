#pragma once

// The running user, where the transfers find their credentials: the home
// folder holds .netrc (_netrc on Windows) and .ssh/.

#include <string>

namespace junmaru {

// The user's home folder: HOME on Linux (the password database when it is
// unset), USERPROFILE on Windows; empty when neither tells.
std::string HomeFolder();

// The user's login name, empty when the system does not tell.
std::string UserName();

// The file of FTP and HTTPS logins in the home folder: ".netrc", or
// "_netrc" on Windows.
extern const char kNetrcName[];

}  // namespace junmaru
