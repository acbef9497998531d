#include "key_hash.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text_compare.h"

namespace junmaru {
namespace {

// Texts whose keys end on and around word ends, and whose pieces end
// before, inside and after byte pairs: the streamed hash is the hash of
// the whole key.
TEST(KeyHash, TextKeyHashIsTheHashOfTheWholeKey) {
  // Each pattern repeated: plain ASCII (a key byte per byte), pairs (three
  // per two), pairs starting on odd bytes, half-width katakana (three per
  // one), a lead byte without its trail.
  const std::string patterns[] = {"aB", "\x82\x60", "a\x83\x9F", "\xB1x\x87\x54", "\x83."};
  std::vector<std::size_t> lengths;
  for (std::size_t end : {std::size_t{0}, kTextPiece, 2 * kTextPiece})
    for (std::size_t n = end < 12 ? 0 : end - 12; n <= end + 12; ++n) lengths.push_back(n);
  for (const std::string& pattern : patterns) {
    std::string long_text;
    while (long_text.size() < 2 * kTextPiece + 12) long_text += pattern;
    for (std::size_t n : lengths)
      for (std::uint64_t seed : {0ull, 0x0123456789ABCDEFull}) {
        const std::string text = long_text.substr(0, n);
        const std::string key = FoldText(text);
        ASSERT_EQ(HashTextKey(text, seed), HashKey(key.data(), key.size(), seed))
            << "pattern " << &pattern - patterns << ", " << n << " bytes";
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
