#include "key_hash.h"

#include <algorithm>

#include "text_compare.h"

namespace junmaru {

std::uint64_t HashTextKey(std::string_view text, std::uint64_t seed) {
  // The key of one piece, after the bytes short of a word that the piece
  // before left.
  char key[7 + 3 * kTextPiece];
  KeyHasher hasher(seed);
  std::size_t held = 0, key_size = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t made = FoldKeyPart(text, i, std::min(text.size(), i + kTextPiece), key + held, &i);
    key_size += made;
    held += made;
    const std::size_t words = hasher.AddWords(key, held);
    std::memmove(key, key + words, held - words);
    held -= words;
  }
  return hasher.Finish(key, held, key_size);
}

}  // namespace junmaru
