#include "remote_logs.h"

#include <algorithm>

#include "file_bytes.h"

namespace junmaru::transfer {

bool MatchesGlob(std::string_view glob, std::string_view name) {
  // Iterative match with one backtrack point for the last "*".
  std::size_t g = 0, n = 0, star = std::string_view::npos, star_n = 0;
  while (n < name.size()) {
    if (g < glob.size() && glob[g] == '*') {
      star = g++;
      star_n = n;
      continue;
    }
    bool matched = false;
    std::size_t next = g + 1;
    // A bracket that is never closed stands for itself.
    const bool negate = g + 1 < glob.size() && (glob[g + 1] == '!' || glob[g + 1] == '^');
    const std::size_t first = g + 1 + (negate ? 1 : 0);
    const std::size_t close = g < glob.size() && glob[g] == '[' ? glob.find(']', first + 1) : std::string_view::npos;
    if (g < glob.size() && glob[g] == '?') {
      matched = true;
    } else if (close != std::string_view::npos) {
      const auto byte = static_cast<unsigned char>(name[n]);
      bool in = false;
      for (std::size_t i = first; i < close; ++i) {
        if (i + 2 < close && glob[i + 1] == '-') {
          in |= byte >= static_cast<unsigned char>(glob[i]) && byte <= static_cast<unsigned char>(glob[i + 2]);
          i += 2;
        } else {
          in |= name[n] == glob[i];
        }
      }
      matched = in != negate;
      next = close + 1;
    } else if (g < glob.size()) {
      matched = glob[g] == name[n];
    }
    if (matched) {
      g = next;
      ++n;
    } else if (star != std::string_view::npos) {
      g = star + 1;
      n = ++star_n;
    } else {
      return false;
    }
  }
  while (g < glob.size() && glob[g] == '*') ++g;
  return g == glob.size();
}

std::vector<RemoteUrl> ListLogs(Remote& remote, const RemoteUrl& folder, const std::string& glob) {
  std::vector<std::string> names = remote.List(folder);
  names.erase(std::remove_if(names.begin(), names.end(),
                             [&](const std::string& name) { return !MatchesGlob(glob, name); }),
              names.end());
  std::sort(names.begin(), names.end());
  std::vector<RemoteUrl> files;
  for (const std::string& name : names) files.push_back(folder.Child(name));
  return files;
}

LogInput FetchLog(Remote& remote, const RemoteUrl& url, TransferProgress& progress) {
  const ProgressScope scope(progress, url.text);
  return {url.text, FileBytes(remote.Fetch(url, progress))};
}

}  // namespace junmaru::transfer
