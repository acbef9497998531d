#include "download_tally.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>

#include "text_compare.h"

namespace junmaru {

namespace {

std::uint64_t Mix(std::uint64_t h, std::uint64_t value) {
  h = (h ^ value) * 0x9E3779B97F4A7C15ull;
  return h ^ (h >> 32);
}

// A seed drawn once per tally. Paths come from strangers' requests: with a
// fixed hash, a log could be made of paths that all land in one run of
// slots and turn every count into a long search.
std::uint64_t RandomSeed() {
  std::random_device device;
  return (std::uint64_t{device()} << 32) ^ device();
}

// A hash of a key's bytes, a word at a time.
std::uint64_t HashKey(const char* key, std::size_t size, std::uint64_t seed) {
  std::uint64_t h = seed ^ size;
  std::size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, key + i, 8);
    h = Mix(h, word);
  }
  if (i < size) {
    std::uint64_t word = 0;
    std::memcpy(&word, key + i, size - i);
    h = Mix(h, word);
  }
  return h;
}

}  // namespace

DownloadTally::DownloadTally()
    : seed_(RandomSeed()), key_buffer_(std::make_unique_for_overwrite<char[]>(kKeyRoom)) {}

void DownloadTally::CountPaths(const std::string_view* paths, std::size_t n) {
  while (n > 0) {
    // As many paths as a batch takes whose keys fit the key room; a longer
    // path goes alone, with room of its own for as long as it is counted.
    std::size_t take = 0, room = 0;
    while (take < n && take < kBatch && (take == 0 || room + 3 * paths[take].size() <= kKeyRoom))
      room += 3 * paths[take++].size();
    CountBatch(paths, take, room);
    paths += take;
    n -= take;
  }
}

void DownloadTally::CountBatch(const std::string_view* paths, std::size_t n, std::size_t room) {
  // Make room first, so the slots stay where they are for the whole batch.
  if ((entries_.size() + n) * 2 >= slots_.size()) Grow(entries_.size() + n);
  // Pages of the key room are given only where keys are written.
  std::unique_ptr<char[]> own_room;
  char* next = key_buffer_.get();
  if (room > kKeyRoom) {
    own_room = std::make_unique_for_overwrite<char[]>(room);
    next = own_room.get();
  }

  std::string_view keys[kBatch];
  std::uint64_t hashes[kBatch];
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t size = FoldKey(paths[i], next);
    keys[i] = {next, size};
    next += size;
    hashes[i] = HashKey(keys[i].data(), size, seed_);
    __builtin_prefetch(&slots_[hashes[i] & mask_]);
  }
  // Then the entries the first slots name, then their keys: each step
  // asks for all of the batch's memory before it waits for any of it.
  // These reads are hints only; the counting below probes in order.
  for (std::size_t i = 0; i < n; ++i)
    if (std::uint32_t index = slots_[hashes[i] & mask_]; index != 0) __builtin_prefetch(&entries_[index - 1]);
  for (std::size_t i = 0; i < n; ++i)
    if (std::uint32_t index = slots_[hashes[i] & mask_]; index != 0) __builtin_prefetch(entries_[index - 1].key.data());
  for (std::size_t i = 0; i < n; ++i) CountKey(paths[i], keys[i], hashes[i]);
}

void DownloadTally::CountKey(std::string_view path, std::string_view key, std::uint64_t hash) {
  for (std::size_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
    std::uint32_t index = slots_[slot];
    if (index == 0) {
      slots_[slot] = static_cast<std::uint32_t>(entries_.size() + 1);
      entries_.push_back({path, path, 1, hash, keys_.Store(key.data(), key.size())});
      return;
    }
    Entry& entry = entries_[index - 1];
    // Equal keys exactly when the paths compare equal.
    if (entry.hash == hash && entry.key == key) {
      entry.latest = path;
      ++entry.count;
      return;
    }
  }
}

void DownloadTally::Grow(std::size_t entries) {
  std::size_t size = 1024;
  while (size <= entries * 2) size *= 2;
  slots_.assign(size, 0);
  mask_ = size - 1;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    std::size_t slot = entries_[i].hash & mask_;
    while (slots_[slot] != 0) slot = (slot + 1) & mask_;
    slots_[slot] = static_cast<std::uint32_t>(i + 1);
  }
}

void DownloadTally::OrderForRanking() {
  std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
    if (a.count != b.count) return a.count < b.count;
    return a.key < b.key;  // string_view order: bytes as unsigned char
  });
  // The slots name entries by index: let the next count index them anew.
  slots_ = {};
  mask_ = 0;
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
