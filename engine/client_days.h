#pragma once

// The OncePerClient rule's memory: which client has been counted for which
// file on which day. Files are the tally's entries, by number; days are
// the dates of the lines' timestamps.
//
// Each day has a set of its own. A log runs through its days in order, so
// the marks being looked up are those of one day, a set small enough to
// stay in the cache, while all days' marks together would not.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "client_identity.h"

namespace junmaru {

class ClientDays {
 public:
  ClientDays();
  // Marks that client was counted for file on day; false when that had
  // been marked already.
  bool Mark(ClientKey client, std::uint32_t day, std::uint32_t file);
  // Asks for the memory that Mark of the same three will read, ahead of it,
  // so that the marks of a batch wait for their memory together.
  void Expect(ClientKey client, std::uint32_t day, std::uint32_t file);

 private:
  // The (client, file) pairs of one day: open addressing.
  class DaySet {
   public:
    // slots: how many to start with (a power of two), or 0.
    DaySet(std::uint64_t seed, std::size_t slots);
    std::size_t Slots() const { return slots_.size(); }
    bool Insert(ClientKey client, std::uint32_t file);
    void Expect(ClientKey client, std::uint32_t file) const {
      if (!slots_.empty()) __builtin_prefetch(&slots_[Hash(client, file) & mask_]);
    }

   private:
    struct Slot {
      ClientKey client;
      std::uint32_t file = kEmpty;
    };
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;  // no file has this number
    std::uint64_t Hash(ClientKey client, std::uint32_t file) const {
      // The addresses are strangers' numbers: the mix starts from a seed drawn at random.
      std::uint64_t h = ((std::uint64_t{client.address} << 32 | client.agent) ^ seed_) * 0x9E3779B97F4A7C15ull;
      h ^= std::uint64_t{file} * 0xC2B2AE3D27D4EB4Full;
      h ^= h >> 31;
      h *= 0x94D049BB133111EBull;
      return h ^ (h >> 29);
    }
    void Grow();

    const std::uint64_t seed_;
    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    std::size_t used_ = 0;
  };

  DaySet& SetOf(std::uint32_t day);

  const std::uint64_t seed_;
  std::unordered_map<std::uint32_t, std::unique_ptr<DaySet>> days_;
  std::uint32_t last_day_ = 0;  // the day of last_, the set looked at last
  DaySet* last_ = nullptr;
};

}  // namespace junmaru
