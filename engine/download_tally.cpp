#include "download_tally.h"

#include <algorithm>
#include <memory>
#include <random>

#include "key_hash.h"
#include "text_compare.h"

namespace junmaru {

namespace {

// A seed drawn once per tally. Paths come from strangers' requests: with a
// fixed hash, a log could be made of paths that all land in one run of
// slots and turn every count into a long search.
std::uint64_t RandomSeed() {
  std::random_device device;
  return (std::uint64_t{device()} << 32) ^ device();
}

// The key of a long path's entry: it points nowhere the tally stores keys.
const char kNoKeyByte = 0;
constexpr std::string_view kNoKey(&kNoKeyByte, 0);
bool HasKey(std::string_view key) { return key.data() != kNoKey.data(); }

// Ascending by count, then by path under CompareText: by key, whose byte
// order (bytes as unsigned char) is the paths' order, where both entries
// have one (always when all_keyed).
template <bool all_keyed>
struct RankedBefore {
  bool operator()(const DownloadTally::Entry& a, const DownloadTally::Entry& b) const {
    if (a.count != b.count) return a.count < b.count;
    if (all_keyed || (HasKey(a.key) && HasKey(b.key))) return a.key < b.key;
    return CompareText(a.latest, b.latest) < 0;
  }
};

}  // namespace

DownloadTally::DownloadTally()
    : seed_(RandomSeed()), key_buffer_(std::make_unique_for_overwrite<char[]>(kKeyRoom)) {}

void DownloadTally::CountPaths(const std::string_view* paths, std::size_t n) {
  while (n > 0) {
    // As many paths as a batch takes whose keys fit the key room; a path
    // whose key alone may not fit is a long path, counted on its own.
    std::size_t take = 0, room = 0;
    while (take < n && take < kBatch && room + 3 * paths[take].size() <= kKeyRoom) room += 3 * paths[take++].size();
    if (take > 0)
      CountBatch(paths, take);
    else
      CountLong(paths[take++]);
    paths += take;
    n -= take;
  }
}

void DownloadTally::CountBatch(const std::string_view* paths, std::size_t n) {
  // Make room first, so the slots stay where they are for the whole batch.
  if ((entries_.size() + n) * 2 >= slots_.size()) Grow(entries_.size() + n);
  char* next = key_buffer_.get();
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

void DownloadTally::CountLong(std::string_view path) {
  if ((entries_.size() + 1) * 2 >= slots_.size()) Grow(entries_.size() + 1);
  CountKey(path, kNoKey, HashTextKey(path, seed_));
}

void DownloadTally::CountKey(std::string_view path, std::string_view key, std::uint64_t hash) {
  for (std::size_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
    std::uint32_t index = slots_[slot];
    if (index == 0) {
      slots_[slot] = static_cast<std::uint32_t>(entries_.size() + 1);
      entries_.push_back({path, path, 1, hash, HasKey(key) ? keys_.Store(key.data(), key.size()) : kNoKey});
      if (!HasKey(key)) ++keyless_;
      return;
    }
    Entry& entry = entries_[index - 1];
    // Equal keys exactly when the paths compare equal; without both keys,
    // the paths themselves are compared.
    if (entry.hash == hash && (HasKey(entry.key) && HasKey(key) ? entry.key == key : EqualText(entry.latest, path))) {
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
  // The entries of long paths, which have no key, are rare: without them
  // no comparison has to ask.
  if (keyless_ == 0)
    std::sort(entries_.begin(), entries_.end(), RankedBefore<true>());
  else
    std::sort(entries_.begin(), entries_.end(), RankedBefore<false>());
  // The slots name entries by index: let the next count index them anew.
  slots_ = {};
  mask_ = 0;
}

}  // namespace junmaru
