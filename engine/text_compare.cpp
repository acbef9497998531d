#include "text_compare.h"

#include <array>
#include <cstring>
#include <memory>

#include "cp932.h"

namespace junmaru {
namespace {

// Weights of bytes and byte pairs that code page 932 does not map.
constexpr std::uint32_t kInvalidByteBase = 0x110000;
constexpr std::uint32_t kUnmappedPairBase = 0x120000;

std::uint32_t FoldCase(std::uint32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;  // full-width Latin
  if (c >= 0x0391 && c <= 0x03A9) return c + 0x20;  // Greek
  if (c >= 0x0410 && c <= 0x042F) return c + 0x20;  // Cyrillic
  if (c >= 0x0400 && c <= 0x040F) return c + 0x50;  // Cyrillic Ё and kin
  if (c >= 0x2160 && c <= 0x216F) return c + 0x10;  // Roman numerals
  return c;
}

// Folded weight of every single byte (index 0x00-0xFF) and of every byte
// pair (index lead * 256 + trail, always 0x8140 or more).
struct WeightTable {
  std::array<std::uint32_t, 65536> weight{};
  // True when every ASCII byte weighs its own value, A-Z that of a-z: then
  // eight ASCII bytes fold to their key bytes in one word operation.
  bool ascii_folds_plainly = true;
  WeightTable() {
    for (unsigned b = 0; b < 256; ++b) {
      unsigned char byte = static_cast<unsigned char>(b);
      std::uint32_t u = IsLeadByte(byte) ? kNoCodePoint : SingleByteCodePoint(byte);
      weight[b] = u == kNoCodePoint ? kInvalidByteBase + b : FoldCase(u);
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        if (!IsTrailByte(static_cast<unsigned char>(trail))) continue;
        std::uint32_t u = DoubleByteCodePoint(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
        unsigned code = lead * 256 + trail;
        weight[code] = u == kNoCodePoint ? kUnmappedPairBase + code : FoldCase(u);
      }
    }
    for (unsigned c = 0; c < 0x80; ++c)
      if (weight[c] != (c >= 'A' && c <= 'Z' ? c + 0x20 : c)) ascii_folds_plainly = false;
  }
};

const WeightTable& Table() {
  static const std::unique_ptr<WeightTable> table = std::make_unique<WeightTable>();
  return *table;
}

}  // namespace

std::uint32_t CharWeight(std::string_view s, std::size_t i, std::size_t* length) {
  const auto& w = Table().weight;
  unsigned char b = static_cast<unsigned char>(s[i]);
  if (CharLength(s, i) == 2) {
    *length = 2;
    return w[b * 256u + static_cast<unsigned char>(s[i + 1])];
  }
  *length = 1;
  // A lead byte without its trail byte is a byte of its own.
  return IsLeadByte(b) ? kInvalidByteBase + b : w[b];
}

int CompareText(std::string_view a, std::string_view b) {
  const auto& w = Table().weight;
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    unsigned char ca = static_cast<unsigned char>(a[i]);
    unsigned char cb = static_cast<unsigned char>(b[j]);
    if (ca < 0x80 && cb < 0x80) {  // the common case: two ASCII bytes
      std::uint32_t wa = w[ca], wb = w[cb];
      if (wa != wb) return wa < wb ? -1 : 1;
      ++i;
      ++j;
      continue;
    }
    std::size_t la, lb;
    std::uint32_t wa = CharWeight(a, i, &la);
    std::uint32_t wb = CharWeight(b, j, &lb);
    if (wa != wb) return wa < wb ? -1 : 1;
    i += la;
    j += lb;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

bool EqualText(std::string_view a, std::string_view b) {
  if (a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size()) == 0) return true;
  return CompareText(a, b) == 0;
}

namespace {

// Eight ASCII bytes with A-Z turned into a-z, computed on all eight at once.
std::uint64_t FoldAscii8(std::uint64_t x) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  const std::uint64_t at_least_a = x + (0x80 - 'A') * kOnes;
  const std::uint64_t above_z = x + (0x80 - 'Z' - 1) * kOnes;
  const std::uint64_t upper = at_least_a & ~above_z & (0x80 * kOnes);
  return x | (upper >> 2);
}

// Weights stay below 0x130000 (code points, then the bases for bytes and
// pairs the code page does not map), so the first of the three key bytes
// of a weight of 0x80 or more is 0x80 to 0x92: above every one-byte key
// character, and no key character is the beginning of another.
char* AppendWeight(std::uint32_t weight, char* out) {
  if (weight < 0x80) {
    *out++ = static_cast<char>(weight);
    return out;
  }
  *out++ = static_cast<char>(0x80 | (weight >> 16));
  *out++ = static_cast<char>(weight >> 8);
  *out++ = static_cast<char>(weight);
  return out;
}

// The key of the characters that begin in [from, to): FoldKey and
// FoldKeyPart are this, each compiled on its own.
inline std::size_t FoldRange(std::string_view s, std::size_t from, std::size_t to, char* out, std::size_t* end) {
  const WeightTable& table = Table();
  const auto& w = table.weight;
  const bool plain = table.ascii_folds_plainly;
  char* p = out;
  std::size_t i = from;
  while (i < to) {
    if (plain && i + 8 <= to) {
      // Eight ASCII bytes from a character boundary are eight characters.
      std::uint64_t word;
      std::memcpy(&word, s.data() + i, 8);
      if ((word & 0x8080808080808080ull) == 0) {
        word = FoldAscii8(word);
        std::memcpy(p, &word, 8);
        p += 8;
        i += 8;
        continue;
      }
    }
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {  // an ASCII byte is a character of its own
      p = AppendWeight(w[c], p);
      ++i;
      continue;
    }
    std::size_t len;
    p = AppendWeight(CharWeight(s, i, &len), p);
    i += len;
  }
  *end = i;
  return static_cast<std::size_t>(p - out);
}

}  // namespace

std::size_t FoldKey(std::string_view s, char* out) {
  std::size_t end;
  return FoldRange(s, 0, s.size(), out, &end);
}

std::size_t FoldKeyPart(std::string_view s, std::size_t from, std::size_t to, char* out, std::size_t* end) {
  return FoldRange(s, from, to, out, end);
}

std::string FoldText(std::string_view s) {
  std::string key(3 * s.size(), '\0');
  key.resize(FoldKey(s, key.data()));
  return key;
}

}  // namespace junmaru
