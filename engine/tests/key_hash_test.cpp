#include "key_hash.h"

#include <gtest/gtest.h>

#include <string>

#include "text_compare.h"

namespace junmaru {
namespace {

// Texts whose keys end on and around word ends, and whose pieces end
// before, inside and after byte pairs: the streamed hash is the hash of
// the whole key.
TEST(KeyHash, TextKeyHashIsTheHashOfTheWholeKey) {
  // Repeated: ASCII (a key byte per byte), pairs (three per two), pairs on
  // odd bytes, half-width katakana (three per one), a lone lead byte.
  for (const std::string pattern : {"aB", "\x82\x60", "a\x83\x9F", "\xB1x\x87\x54", "\x83."}) {
    std::string text;
    while (text.size() < 2 * kTextPiece + 12) text += pattern;
    for (std::size_t end : {std::size_t{12}, kTextPiece, 2 * kTextPiece})
      for (std::size_t n = end - 12; n <= end + 12; ++n) {
        const std::string part = text.substr(0, n), key = FoldText(part);
        ASSERT_EQ(HashTextKey(part, 99), HashKey(key.data(), key.size(), 99)) << pattern << ", " << n << " bytes";
      }
  }
}

// Each byte of a key changes its hash, those of a last part word too.
TEST(KeyHash, EveryByteOfAKeyCounts) {
  for (std::size_t size = 1; size <= 17; ++size) {
    const std::string key(size, 'a');
    for (std::size_t i = 0; i < size; ++i) {
      std::string changed = key;
      changed[i] = 'b';
      EXPECT_NE(HashKey(changed.data(), size, 7), HashKey(key.data(), size, 7)) << "byte " << i << " of " << size;
    }
  }
}

}  // namespace
}  // namespace junmaru
