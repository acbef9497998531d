#include "publish.h"

#include <algorithm>
#include <random>

#include "file_io.h"

namespace junmaru::transfer {
namespace {

// A name no other run picks: dot first, so listings and most servers keep
// it out of sight while it is incomplete.
std::string TemporaryName(const std::string& name) {
  static std::mt19937_64 random{std::random_device{}()};
  static const char kHex[] = "0123456789abcdef";
  std::string tag;
  for (std::uint64_t bits = random(), i = 0; i < 12; ++i, bits >>= 4) tag += kHex[bits & 15];
  return ".junmaru-" + tag + "-" + name;
}

struct Staged {
  std::string temporary;
  std::string name;
};

// Removes what is left of the staged files; the first failure is the one
// the caller reports, so these are best effort.
void RemoveStaged(Remote& remote, const RemoteUrl& folder, const std::vector<Staged>& staged) {
  for (const Staged& file : staged) {
    try {
      remote.Remove(folder, file.temporary);
    } catch (...) {
    }
  }
}

}  // namespace

void Publish(Remote& remote, const RemoteUrl& folder, const std::vector<PublishFile>& files,
             TransferProgress& progress) {
  const std::vector<std::string> present = remote.List(folder);
  std::vector<Staged> staged;
  try {
    for (const PublishFile& file : files) {
      if (file.only_when_missing && std::find(present.begin(), present.end(), file.remote_name) != present.end())
        continue;
      const std::string bytes = ReadWholeFile(file.local_path);
      staged.push_back({TemporaryName(file.remote_name), file.remote_name});
      const RemoteUrl target = folder.Child(file.remote_name);
      const ProgressScope scope(progress, target.text);
      remote.Upload(folder.Child(staged.back().temporary), target, bytes, progress);
    }
  } catch (...) {
    RemoveStaged(remote, folder, staged);
    throw;
  }
  for (std::size_t i = 0; i < staged.size(); ++i) {
    try {
      remote.Rename(folder, staged[i].temporary, staged[i].name);
    } catch (...) {
      RemoveStaged(remote, folder, std::vector<Staged>(staged.begin() + static_cast<long>(i), staged.end()));
      throw;
    }
  }
}

}  // namespace junmaru::transfer
