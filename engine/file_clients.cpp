#include "file_clients.h"

#include <algorithm>
#include <unordered_map>

namespace junmaru {

std::vector<std::int64_t> FileClients::Count(const std::vector<std::uint32_t>& files) const {
  std::unordered_map<std::uint32_t, std::uint32_t> place_of;  // file -> its place in files
  for (std::uint32_t place = 0; place < files.size(); ++place) place_of.emplace(files[place], place);
  // The downloads of those files as (place, client) numbers, each pair once.
  std::vector<std::pair<std::uint32_t, std::uint64_t>> pairs;
  for (const Download& download : downloads_)
    if (const auto found = place_of.find(download.file); found != place_of.end())
      pairs.emplace_back(found->second, std::uint64_t{download.client.address} << 32 | download.client.agent);
  std::sort(pairs.begin(), pairs.end());
  pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
  std::vector<std::int64_t> counts(files.size(), 0);
  for (const auto& pair : pairs) ++counts[pair.first];
  return counts;
}

}  // namespace junmaru
