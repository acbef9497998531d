#pragma once

// The hash by which the download tally finds a path: a seeded hash of the
// path's fold key. It is taken over a key held in memory, or over the key
// of a text folded a piece at a time, for a text whose whole key would be
// too large to hold; both ways give the same hash for the same key.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace junmaru {

// Mixes in the key a word (eight bytes) at a time, the last word padded
// with zero bytes, and the key's length last: so that a key can be hashed
// while it is being made, before its length is known.
class KeyHasher {
 public:
  explicit KeyHasher(std::uint64_t seed) : h_(seed) {}

  // Mixes in the whole words of bytes[0, size); returns the bytes they took.
  std::size_t AddWords(const char* bytes, std::size_t size) {
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
      std::uint64_t word;
      std::memcpy(&word, bytes + i, 8);
      Mix(word);
    }
    return i;
  }

  // Mixes in the last bytes[0, size), fewer than eight, and the length of
  // the whole key; the hash.
  std::uint64_t Finish(const char* bytes, std::size_t size, std::size_t key_size) {
    if (size > 0) Mix(LastWord(bytes, size));
    return h_ ^ key_size;
  }

 private:
  // bytes[0, size), 1 to 7 of them, as a word, the first byte lowest, with
  // zero bytes above the last: two overlapping loads or three single bytes,
  // cheaper than a copy of variable length.
  static std::uint64_t LastWord(const char* bytes, std::size_t size) {
    if (size >= 4) {
      std::uint32_t low, high;
      std::memcpy(&low, bytes, 4);
      std::memcpy(&high, bytes + size - 4, 4);
      return low | std::uint64_t{high} << 8 * (size - 4);
    }
    const auto byte = [bytes](std::size_t i) { return std::uint64_t{static_cast<unsigned char>(bytes[i])} << 8 * i; };
    return byte(0) | byte(size / 2) | byte(size - 1);
  }
  void Mix(std::uint64_t word) {
    h_ = (h_ ^ word) * 0x9E3779B97F4A7C15ull;
    h_ ^= h_ >> 32;
  }
  std::uint64_t h_;
};

// The hash of key[0, size).
inline std::uint64_t HashKey(const char* key, std::size_t size, std::uint64_t seed) {
  KeyHasher hasher(seed);
  const std::size_t words = hasher.AddWords(key, size);
  return hasher.Finish(key + words, size - words, size);
}

// The hash of FoldText(text), folded kTextPiece bytes of text at a time
// into a buffer of fixed size: HashKey of the key without holding it.
std::uint64_t HashTextKey(std::string_view text, std::uint64_t seed);
constexpr std::size_t kTextPiece = 4096;

}  // namespace junmaru
