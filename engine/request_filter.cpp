#include "request_filter.h"

#include <array>
#include <bit>
#include <cstring>

#include "byte_string.h"
#include "simd_bytes.h"

namespace junmaru {
namespace {

constexpr char kGetMarker[] = "\"GET";
constexpr char kHttp11Marker[] = "HTTP/1.1\"";
constexpr char kHttp10Marker[] = "HTTP/1.0\"";

// The last four bytes of s as an integer, the last byte lowest
// (s has at least four bytes).
std::uint32_t Tail(std::string_view s) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data() + s.size() - 4);
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

// True when marker stands at byte at of line. The marker's length is a
// constant, so the comparison compiles to a few instructions.
template <std::size_t N>
bool Follows(std::string_view line, std::size_t at, const char (&marker)[N]) {
  return at + (N - 1) <= line.size() && std::memcmp(line.data() + at, marker, N - 1) == 0;
}

// Eight bytes as one integer, in the machine's byte order.
std::uint64_t Word8(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, 8);
  return word;
}
constexpr std::uint64_t Word8Of(const char (&text)[9]) {
  std::uint64_t word = 0;
  for (int i = 0; i < 8; ++i) {
    const std::uint64_t byte = static_cast<unsigned char>(text[i]);
    word |= std::endian::native == std::endian::little ? byte << (8 * i) : byte << (8 * (7 - i));
  }
  return word;
}
// The HTTP markers without their closing quote.
constexpr std::uint64_t kHttp11Word = Word8Of("HTTP/1.1");
constexpr std::uint64_t kHttp10Word = Word8Of("HTTP/1.0");
static_assert(sizeof kHttp11Marker == 10 && sizeof kHttp10Marker == 10, "eight bytes and a quote");

// The byte of word least likely to appear in a request path: a byte of a
// double-byte character or another byte outside ASCII first, then anything
// but the lower-case letters, digits and punctuation that most paths are
// made of. Only the speed of the search depends on the choice.
char ProbeByte(const std::string& word) {
  auto rarity = [](unsigned char c) {
    if (c >= 0x80) return 3;
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' || c == '.' || c == '_' || c == '-') return 1;
    return 2;
  };
  char best = word.back();
  for (char c : word)
    if (rarity(static_cast<unsigned char>(c)) > rarity(static_cast<unsigned char>(best))) best = c;
  return best;
}

}  // namespace

RequestFilter::RequestFilter(const RunSettings& settings) {
  for (std::size_t i = 0; i < kFamilyCount; ++i)
    if (settings.Families[i])
      for (std::string_view suffix : kExtensionFamilies[i].suffixes)
        if (!suffix.empty()) suffixes_.Add(suffix);
  for (const std::string& word : settings.KinsiWord)
    if (!word.empty()) words_.push_back({word, ProbeByte(word)});
}

std::string_view RequestFilter::FindDownloadPath(std::string_view line) {
  // Every marker holds a double quote: the GET marker begins with one and
  // the HTTP markers end with one. Visiting the quotes finds the first of
  // each kind in one pass over the line.
  std::size_t g = std::string_view::npos, e11 = std::string_view::npos, e10 = std::string_view::npos;
  // Looks at the quote at q; true once the first GET and HTTP/1.1 markers are known.
  auto at_quote = [&](std::size_t q) {
    if (g == std::string_view::npos && Follows(line, q, kGetMarker)) g = q;
    if (q >= 8) {
      // Both HTTP markers end with this quote: one load of the eight bytes before it.
      const std::uint64_t version = Word8(line.data() + q - 8);
      if (e11 == std::string_view::npos && version == kHttp11Word) e11 = q - 8;
      if (e10 == std::string_view::npos && version == kHttp10Word) e10 = q - 8;
    }
    return g != std::string_view::npos && e11 != std::string_view::npos;
  };
  ForEachQuote(line, at_quote);
  // The HTTP/1.1 marker wins wherever it stands; HTTP/1.0 only without it.
  const std::size_t e = e11 != std::string_view::npos ? e11 : e10;
  if (e == std::string_view::npos || g == std::string_view::npos) return {};
  // Skip the quote, "GET" and the byte after it; leave out the byte before
  // the marker. Neither byte is tested for being a space.
  if (e < g + 6) return line.substr(0, 0);
  return line.substr(g + 5, e - g - 6);
}

std::uint64_t RequestFilter::SuffixSet::Key(const char* bytes, std::size_t length) {
  std::uint64_t key = 0;
  for (std::size_t i = 0; i < length; ++i) key = (key << 8) | static_cast<unsigned char>(bytes[i]);
  return key | std::uint64_t{length} << 32;
}

std::size_t RequestFilter::SuffixSet::FirstSlot(std::uint64_t key) {
  static_assert(kSlots == 256, "the top eight bits of the product name a slot");
  return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 56);
}

void RequestFilter::SuffixSet::Add(std::string_view suffix) {
  const std::uint64_t key = Key(suffix.data(), suffix.size());
  if (Holds(key)) return;
  lengths_ |= 1u << suffix.size();
  std::size_t slot = FirstSlot(key);
  while (slots_[slot] != 0) slot = (slot + 1) % kSlots;
  slots_[slot] = key;
}

bool RequestFilter::SuffixSet::Holds(std::uint64_t key) const {
  // The table is never full: there are far fewer suffixes than slots.
  for (std::size_t slot = FirstSlot(key);; slot = (slot + 1) % kSlots) {
    if (slots_[slot] == key) return true;
    if (slots_[slot] == 0) return false;
  }
}

bool RequestFilter::SuffixSet::EndsOneOf(std::string_view path) const {
  if (path.size() >= 4) {
    const std::uint32_t tail = Tail(path);
    return ((lengths_ >> 2 & 1) && Holds(std::uint64_t{2} << 32 | (tail & 0xFFFF))) ||
           ((lengths_ >> 3 & 1) && Holds(std::uint64_t{3} << 32 | (tail & 0xFFFFFF))) ||
           ((lengths_ >> 4 & 1) && Holds(std::uint64_t{4} << 32 | tail));
  }
  for (std::size_t n = 1; n <= path.size(); ++n)
    if ((lengths_ >> n & 1) && Holds(Key(path.data() + path.size() - n, n))) return true;
  return false;
}

namespace {

// True when one of the last five bytes of path is a dot.
bool DotInLastFive(std::string_view path) {
  if (path.size() >= 5) {
    // A byte of the last four is a dot where a byte of x is zero; the
    // classic zero-byte test looks at all four without a branch each.
    const std::uint32_t x = Tail(path) ^ 0x2E2E2E2Eu;
    return ((x - 0x01010101u) & ~x & 0x80808080u) != 0 || path[path.size() - 5] == '.';
  }
  return path.find('.') != std::string_view::npos;
}

}  // namespace

bool RequestFilter::Drops(std::string_view path) const {
  if (!DotInLastFive(path)) return true;                                      // no extension
  if (StartsWithBytes(path, "http://")) return true;                          // absolute address
  if (EndsWithBytes(path, "ida")) return true;                                // worm probes
  if (EndsWithBytes(path, "/")) return true;                                  // directory
  if (suffixes_.EndsOneOf(path)) return true;
  for (const Word& word : words_) {
    if (word.text.size() > path.size() || !std::memchr(path.data(), word.probe, path.size())) continue;
    if (BytePos(word.text, path) != 0) return true;
  }
  return false;
}

}  // namespace junmaru
