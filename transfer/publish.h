#pragma once

// Putting the page (and the files that go with it) on the site, so that
// the site never shows half of it.

#include <string>
#include <vector>

#include "remote.h"

namespace junmaru::transfer {

struct PublishFile {
  std::string local_path;          // the file written here
  std::string remote_name;         // its name in the site's folder
  bool only_when_missing = false;  // kept as it is when the site has one (gage.gif)
};

// Uploads every file to the site's folder under a temporary name in that
// folder, then renames each over its own name, in the order given (so the
// page goes last). When an upload fails, nothing is renamed and the
// temporary files are removed where the site lets them be; the site keeps
// its old files. The folder must exist. Fails with the message of the
// step that failed.
void Publish(Remote& remote, const RemoteUrl& folder, const std::vector<PublishFile>& files,
             TransferProgress& progress);

}  // namespace junmaru::transfer
