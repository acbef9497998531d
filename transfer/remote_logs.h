#pragma once

// Logs read from a server, as the loader takes them.

#include <string>
#include <string_view>
#include <vector>

#include "log_source.h"
#include "remote.h"

namespace junmaru::transfer {

// True when name matches glob: "*" any run of bytes, "?" one byte,
// "[...]" one of the bytes listed (ranges "a-z", "!" or "^" first negates);
// everything else stands for itself.
bool MatchesGlob(std::string_view glob, std::string_view name);

// The files of folder whose names match glob, ordered by name (byte order,
// so dated names run oldest first).
std::vector<RemoteUrl> ListLogs(Remote& remote, const RemoteUrl& folder, const std::string& glob);

// The log at url, in memory, named by its address for messages.
LogInput FetchLog(Remote& remote, const RemoteUrl& url, TransferProgress& progress);

}  // namespace junmaru::transfer
