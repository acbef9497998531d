#pragma once

// How often each request path was downloaded during one run. Paths that
// compare equal under CompareText (letter case ignored) are one path; the
// tally remembers the path as first counted and the spelling of the latest
// download. A path is counted as the log wrote it, or, under the Decode
// rule, as its decoded text, while its spelling stays as the log wrote it
// (the page links to that).
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
#include <utility>
#include <vector>

#include "byte_arena.h"

namespace junmaru {

class DownloadTally {
 public:
  DownloadTally();

  struct Entry {
    std::string_view first;   // the path as counted at its first download
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

  // A download to count: the path as the rules count it (text) and as the
  // log wrote it (spelling). The text is either the spelling itself or
  // lives only for the call; the tally keeps a copy of the text of a path
  // met for the first time.
  struct Download {
    std::string_view text;
    std::string_view spelling;
  };
  // Decides whether each download counts, once its path's entry is known.
  // The OncePerClient rule is such a gate.
  class Gate {
   public:
    // Told of each download of a batch, in order, before Admits is asked
    // about any of them: a chance to fetch the memory Admits will read.
    virtual void Expect(std::size_t download, std::uint32_t entry) = 0;
    // Whether download (its index in the caller's array) counts for the
    // entry (its index in Entries()). Asked once per download, in order;
    // the first download of a path counts whatever the answer.
    virtual bool Admits(std::size_t download, std::uint32_t entry) = 0;

   protected:
    ~Gate() = default;
  };
  // Counts each of downloads[0, n) that the gate (if any) admits, in
  // order: its entry's count grows by one and its spelling becomes the
  // entry's latest. Without a gate and with each text its own spelling,
  // the same as CountPaths.
  void CountDownloads(const Download* downloads, std::size_t n, Gate* gate);

  std::size_t Size() const { return entries_.size(); }
  // One entry per distinct path, in the order the paths were first met,
  // until OrderForRanking reorders them.
  const std::vector<Entry>& Entries() const { return entries_; }

  // Puts the entries in ranking order: ascending by count, and among equal
  // counts ascending by path under CompareText (by key, which orders alike;
  // no two entries have equal keys, so the order is total). Paths counted
  // afterwards are found as before. With first_met, it also gives each
  // entry's index from before, in the new order.
  void OrderForRanking(std::vector<std::uint32_t>* first_met = nullptr);

 private:
  // Counts items[0, n) (paths or downloads) whose keys fit the key room
  // together; their indexes in the caller's array start at base.
  template <class Item>
  void CountBatch(const Item* items, std::size_t n, std::size_t base, Gate* gate);
  // Counts an item whose key may not fit the key room.
  template <class Item>
  void CountLong(const Item& item, std::size_t base, Gate* gate);
  template <class Item>
  void CountItems(const Item* items, std::size_t n, Gate* gate);
  void Grow(std::size_t entries);
  // The entry of text, whose key (when it has one) and hash are given,
  // added with count 1 and this spelling when new; its index, and whether
  // it was added.
  std::pair<std::uint32_t, bool> Find(std::string_view text, std::string_view spelling, std::string_view key,
                                      std::uint64_t hash);
  // One more download of entries_[index], spelled so.
  void Count(std::uint32_t index, std::string_view spelling) {
    Entry& entry = entries_[index];
    entry.latest = spelling;
    ++entry.count;
  }

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
