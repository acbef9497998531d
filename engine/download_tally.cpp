#include "download_tally.h"

#include <algorithm>
#include <memory>
#include <numeric>
#include <random>
#include <tuple>

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
    return CompareText(a.first, b.first) < 0;
  }
};

// What the tally reads of a path counted as written, and of a download.
std::string_view TextOf(std::string_view path) { return path; }
std::string_view SpellingOf(std::string_view path) { return path; }
std::string_view TextOf(const DownloadTally::Download& download) { return download.text; }
std::string_view SpellingOf(const DownloadTally::Download& download) { return download.spelling; }

}  // namespace

DownloadTally::DownloadTally()
    : seed_(RandomSeed()), key_buffer_(std::make_unique_for_overwrite<char[]>(kKeyRoom)) {}

template <class Item>
void DownloadTally::CountItems(const Item* items, std::size_t n, Gate* gate) {
  for (std::size_t base = 0; base < n;) {
    // As many items as a batch takes whose keys fit the key room; an item
    // whose key alone may not fit is a long path, counted on its own.
    std::size_t take = 0, room = 0;
    while (base + take < n && take < kBatch && room + 3 * TextOf(items[base + take]).size() <= kKeyRoom)
      room += 3 * TextOf(items[base + take++]).size();
    if (take > 0) {
      CountBatch(items + base, take, base, gate);
      base += take;
    } else {
      CountLong(items[base], base, gate);
      ++base;
    }
  }
}

template <class Item>
void DownloadTally::CountBatch(const Item* items, std::size_t n, std::size_t base, Gate* gate) {
  // Make room first, so the slots stay where they are for the whole batch.
  if ((entries_.size() + n) * 2 >= slots_.size()) Grow(entries_.size() + n);
  char* next = key_buffer_.get();
  std::string_view keys[kBatch];
  std::uint64_t hashes[kBatch];
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t size = FoldKey(TextOf(items[i]), next);
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
  if (!gate) {
    for (std::size_t i = 0; i < n; ++i) {
      const auto [index, added] = Find(TextOf(items[i]), SpellingOf(items[i]), keys[i], hashes[i]);
      if (!added) Count(index, SpellingOf(items[i]));
    }
    return;
  }
  std::uint32_t indexes[kBatch];
  bool added[kBatch];
  for (std::size_t i = 0; i < n; ++i) {
    std::tie(indexes[i], added[i]) = Find(TextOf(items[i]), SpellingOf(items[i]), keys[i], hashes[i]);
    gate->Expect(base + i, indexes[i]);
  }
  for (std::size_t i = 0; i < n; ++i)
    if (gate->Admits(base + i, indexes[i]) && !added[i]) Count(indexes[i], SpellingOf(items[i]));
}

template <class Item>
void DownloadTally::CountLong(const Item& item, std::size_t base, Gate* gate) {
  if ((entries_.size() + 1) * 2 >= slots_.size()) Grow(entries_.size() + 1);
  const auto [index, added] = Find(TextOf(item), SpellingOf(item), kNoKey, HashTextKey(TextOf(item), seed_));
  if (gate) gate->Expect(base, index);
  if ((!gate || gate->Admits(base, index)) && !added) Count(index, SpellingOf(item));
}

void DownloadTally::CountPaths(const std::string_view* paths, std::size_t n) { CountItems(paths, n, nullptr); }

void DownloadTally::CountDownloads(const Download* downloads, std::size_t n, Gate* gate) {
  CountItems(downloads, n, gate);
}

std::pair<std::uint32_t, bool> DownloadTally::Find(std::string_view text, std::string_view spelling,
                                                   std::string_view key, std::uint64_t hash) {
  for (std::size_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
    std::uint32_t index = slots_[slot];
    if (index == 0) {
      const auto added = static_cast<std::uint32_t>(entries_.size());
      slots_[slot] = added + 1;
      // A text that is not its spelling lives only for the call.
      const std::string_view first = text.data() == spelling.data() ? text : keys_.Store(text.data(), text.size());
      entries_.push_back({first, spelling, 1, hash, HasKey(key) ? keys_.Store(key.data(), key.size()) : kNoKey});
      if (!HasKey(key)) ++keyless_;
      return {added, true};
    }
    const Entry& entry = entries_[index - 1];
    // Equal keys exactly when the paths compare equal; without both keys,
    // the paths themselves are compared.
    if (entry.hash == hash && (HasKey(entry.key) && HasKey(key) ? entry.key == key : EqualText(entry.first, text)))
      return {index - 1, false};
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

void DownloadTally::OrderForRanking(std::vector<std::uint32_t>* first_met) {
  // The entries of long paths, which have no key, are rare: without them
  // no comparison has to ask.
  const auto order = [this, first_met](auto before) {
    if (!first_met) {
      std::sort(entries_.begin(), entries_.end(), before);
      return;
    }
    std::vector<std::uint32_t> indexes(entries_.size());
    std::iota(indexes.begin(), indexes.end(), 0u);
    std::sort(indexes.begin(), indexes.end(),
              [&](std::uint32_t a, std::uint32_t b) { return before(entries_[a], entries_[b]); });
    std::vector<Entry> ordered;
    ordered.reserve(entries_.size());
    for (std::uint32_t i : indexes) ordered.push_back(entries_[i]);
    entries_ = std::move(ordered);
    *first_met = std::move(indexes);
  };
  if (keyless_ == 0)
    order(RankedBefore<true>());
  else
    order(RankedBefore<false>());
  // The slots name entries by index: let the next count index them anew.
  slots_ = {};
  mask_ = 0;
}

}  // namespace junmaru
