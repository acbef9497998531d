#include "download_tally.h"

#include <algorithm>
#include <cstdio>

#include "text_compare.h"

namespace junmaru {

void DownloadTally::CountPath(std::string_view path) {
  if (entries_.size() * 2 >= slots_.size()) Grow();
  const std::uint64_t hash = HashText(path);
  for (std::size_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
    std::uint32_t index = slots_[slot];
    if (index == 0) {
      slots_[slot] = static_cast<std::uint32_t>(entries_.size() + 1);
      entries_.push_back({path, path, 1, hash});
      return;
    }
    Entry& entry = entries_[index - 1];
    if (entry.hash == hash && EqualText(entry.latest, path)) {
      entry.latest = path;
      ++entry.count;
      return;
    }
  }
}

void DownloadTally::Grow() {
  std::size_t size = slots_.empty() ? 1024 : slots_.size() * 2;
  slots_.assign(size, 0);
  mask_ = size - 1;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    std::size_t slot = entries_[i].hash & mask_;
    while (slots_[slot] != 0) slot = (slot + 1) & mask_;
    slots_[slot] = static_cast<std::uint32_t>(i + 1);
  }
}

std::string CountEntry(std::string_view path, std::int64_t count) {
  char digits[24];
  std::snprintf(digits, sizeof digits, "%.5lld", static_cast<long long>(count));
  return std::string(path) + digits;
}

namespace {
void SortText(std::vector<std::string>& list) {
  std::sort(list.begin(), list.end(), [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
}
}  // namespace

std::vector<std::string> DownloadTally::SeenPaths() const {
  std::vector<std::string> list;
  for (const auto& entry : entries_) list.emplace_back(entry.first);
  SortText(list);
  return list;
}

std::vector<std::string> DownloadTally::CountList() const {
  std::vector<std::string> list;
  for (const auto& entry : entries_) list.push_back(CountEntry(entry.latest, entry.count));
  SortText(list);
  return list;
}

}  // namespace junmaru
