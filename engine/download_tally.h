#pragma once

// How often each request path was downloaded during one run. Paths that
// compare equal under CompareText (letter case ignored) are one path; the
// tally remembers the spelling of the first download and of the latest.
//
// The tally keeps views of the paths it is given, not copies: the text they
// point into (the log's lines) must outlive the tally. What it does copy is
// each distinct path's fold key, into storage of its own: a path is matched
// by comparing its key with those compact copies, so a repeated path never
// makes the tally read the far-away log line of its previous download.
// A path too long for its key to fit the key room (kKeyRoom) is the
// exception: its key is hashed as it is folded, a piece at a time, and
// never held; its entry is matched by comparing the paths themselves.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "byte_arena.h"

namespace junmaru {

class DownloadTally {
 public:
  DownloadTally();

  struct Entry {
    std::string_view first;   // the spelling of the first download
    std::string_view latest;  // the spelling of the most recent download
    std::int64_t count;
    std::uint64_t hash;    // HashKey of the path's FoldKey
    std::string_view key;  // that key, held by the tally; none for a long path
  };

  // Adds one download to the path's count.
  void CountPath(std::string_view path) { CountPaths(&path, 1); }
  // Adds one download to the count of each of paths[0, n), in order; the
  // same as n calls of CountPath. With many distinct paths the table no
  // longer fits the cache: a batch fetches the table places of all its
  // paths at once, so that their memory delays overlap.
  void CountPaths(const std::string_view* paths, std::size_t n);
  static constexpr std::size_t kBatch = 16;  // a good n for CountPaths

  std::size_t Size() const { return entries_.size(); }
  // One entry per distinct path, in the order the paths were first met,
  // until OrderForRanking reorders them.
  const std::vector<Entry>& Entries() const { return entries_; }

  // Puts the entries in ranking order: ascending by count, and among equal
  // counts ascending by path under CompareText (by key, which orders alike;
  // no two entries have equal keys, so the order is total). Paths counted
  // afterwards are found as before.
  void OrderForRanking();

 private:
  // Counts paths[0, n) whose keys fit the key room together.
  void CountBatch(const std::string_view* paths, std::size_t n);
  // Counts a path whose key may not fit the key room.
  void CountLong(std::string_view path);
  void Grow(std::size_t entries);
  // Counts path, whose key (when it has one) and hash are given.
  void CountKey(std::string_view path, std::string_view key, std::uint64_t hash);

  std::vector<Entry> entries_;
  // Open addressing: 0 marks an empty slot, otherwise entry index + 1.
  // At most half of the slots are taken.
  std::vector<std::uint32_t> slots_;
  std::size_t mask_ = 0;
  ByteArena keys_;
  std::size_t keyless_ = 0;  // entries of long paths
  const std::uint64_t seed_;  // of the key hash, drawn at random for each tally
  // The keys of the paths being counted: room for a batch of ordinary
  // paths (three bytes of key per byte of path at most). A path that may
  // need more is a long path.
  static constexpr std::size_t kKeyRoom = 1 << 16;
  std::unique_ptr<char[]> key_buffer_;
};

}  // namespace junmaru
