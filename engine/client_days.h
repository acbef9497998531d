#pragma once

// The OncePerClient rule's memory: which client has been counted for which
// file on which day. Files are the tally's entries, by number; days are
// the dates of the lines' timestamps.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "client_identity.h"

namespace junmaru {

class ClientDays {
 public:
  // Marks that client was counted for file on day; false when that had
  // been marked already.
  bool Mark(ClientKey client, std::uint32_t day, std::uint32_t file);
  // Asks for the memory that Mark of the same three will read, ahead of it,
  // so that the marks of a batch wait for their memory together.
  void Expect(ClientKey client, std::uint32_t day, std::uint32_t file) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[Hash(client, day, file) & mask_]);
  }

 private:
  struct Slot {
    ClientKey client;
    std::uint32_t day;
    std::uint32_t file = kEmpty;
  };
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;  // no file has this number
  static std::uint64_t Hash(ClientKey client, std::uint32_t day, std::uint32_t file) {
    // The numbers are the program's own, not a stranger's text: a fixed
    // mix spreads them.
    std::uint64_t h = (std::uint64_t{client.address} << 32 | client.agent) * 0x9E3779B97F4A7C15ull;
    h ^= (std::uint64_t{day} << 32 | file) * 0xC2B2AE3D27D4EB4Full;
    h ^= h >> 31;
    h *= 0x94D049BB133111EBull;
    return h ^ (h >> 29);
  }
  void Grow();

  std::vector<Slot> slots_;
  std::size_t mask_ = 0;
  std::size_t used_ = 0;
};

}  // namespace junmaru
