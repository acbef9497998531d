#include "client_identity.h"

#include <cstring>
#include <optional>
#include <random>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "key_hash.h"

namespace junmaru {
namespace {

constexpr std::uint32_t kGivenAddress = 0x80000000u;

std::uint64_t RandomSeed() {
  std::random_device device;
  return (std::uint64_t{device()} << 32) ^ device();
}

// One number of a dotted address: the digits text[begin, end), as the
// address is read, with the bytes beyond it zero. Sound when it is one to
// three digits without a leading zero, of 0 to 255. Every address of a
// log is read, and the lengths of the numbers are as varied as the
// clients: the three readings are all made, and one is taken without a branch.
[[gnu::always_inline]] inline std::uint32_t AddressNumber(const unsigned char* text, std::uint32_t begin, std::uint32_t end, bool& sound) {
  const std::uint32_t length = end - begin;
  const std::uint32_t a = text[begin] - std::uint32_t{'0'}, b = text[begin + 1] - std::uint32_t{'0'};
  const std::uint32_t c = text[begin + 2] - std::uint32_t{'0'};
  const std::uint32_t number = length == 1 ? a : length == 2 ? a * 10 + b : a * 100 + b * 10 + c;
  sound &= (length - 1 < 3) & (number <= 255) & ((length == 1) | (a != 0));
  return number;
}

}  // namespace

std::optional<std::uint32_t> CanonicalIpv4(std::string_view text, std::size_t readable) {
  const std::size_t size = text.size();
  if (size < 7 || size > 15) return std::nullopt;
  // Eighteen bytes from the text's start, of which those past it are
  // never used. Read in place when they may be; otherwise the text, then
  // zeros, by two overlapping loads of its first and last eight (or four)
  // bytes, cheaper than a copy of varied length.
  unsigned char copy[18] = {};
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
  if (readable < sizeof copy) {
    if (size >= 8) {
      std::memcpy(copy, text.data(), 8);
      std::memcpy(copy + size - 8, text.data() + size - 8, 8);
    } else {
      std::memcpy(copy, text.data(), 4);
      std::memcpy(copy + size - 4, text.data() + size - 4, 4);
    }
    bytes = copy;
  }
  const std::uint32_t within = (1u << size) - 1;
  std::uint32_t dots = 0, digits = 0;
#if defined(__SSE2__)
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
  dots = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('.'))));
  digits = static_cast<std::uint32_t>(
      _mm_movemask_epi8(_mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('0' - 1)), _mm_cmplt_epi8(v, _mm_set1_epi8('9' + 1)))));
#else
  for (std::size_t i = 0; i < size; ++i) {
    dots |= std::uint32_t{bytes[i] == '.'} << i;
    digits |= std::uint32_t{bytes[i] >= '0' && bytes[i] <= '9'} << i;
  }
#endif
  dots &= within, digits &= within;
  // Digits and exactly three dots, and nothing else.
  if ((dots | digits) != within) return std::nullopt;
  const std::uint32_t second_dots = dots & (dots - 1), third_dots = second_dots & (second_dots - 1);
  if (dots == 0 || second_dots == 0 || third_dots == 0 || (third_dots & (third_dots - 1)) != 0) return std::nullopt;
  const auto first = static_cast<std::uint32_t>(__builtin_ctz(dots));
  const auto second = static_cast<std::uint32_t>(__builtin_ctz(second_dots));
  const auto third = static_cast<std::uint32_t>(__builtin_ctz(third_dots));
  bool sound = true;
  const std::uint32_t value = AddressNumber(bytes, 0, first, sound) << 24 |
                              AddressNumber(bytes, first + 1, second, sound) << 16 |
                              AddressNumber(bytes, second + 1, third, sound) << 8 |
                              AddressNumber(bytes, third + 1, static_cast<std::uint32_t>(size), sound);
  if (!sound) return std::nullopt;
  return value;
}

TextIds::TextIds() : seed_(RandomSeed()) {}

std::pair<std::uint32_t, bool> TextIds::Of(std::string_view text) {
  if ((texts_.size() + 1) * 2 > slots_.size()) Grow();
  const std::uint64_t hash = HashKey(text.data(), text.size(), seed_);
  for (std::size_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
    const std::uint32_t id = slots_[slot];
    if (id == 0) {
      texts_.push_back({text, hash});
      slots_[slot] = static_cast<std::uint32_t>(texts_.size());
      return {slots_[slot], true};
    }
    const Known& known = texts_[id - 1];
    if (known.hash == hash && known.text == text) return {id, false};
  }
}

void TextIds::Grow() {
  const std::size_t size = slots_.empty() ? 64 : slots_.size() * 2;
  slots_.assign(size, 0);
  mask_ = size - 1;
  for (std::size_t i = 0; i < texts_.size(); ++i) {
    std::size_t slot = texts_[i].hash & mask_;
    while (slots_[slot] != 0) slot = (slot + 1) & mask_;
    slots_[slot] = static_cast<std::uint32_t>(i + 1);
  }
}

std::size_t ClientIds::RecentSlot(std::string_view agent) {
  std::uint64_t first = 0, last = 0;
  if (agent.size() >= 8) {
    std::memcpy(&first, agent.data(), 8);
    std::memcpy(&last, agent.data() + agent.size() - 8, 8);
  }
  const std::uint64_t mixed = (first ^ (last * 0x9E3779B97F4A7C15ull) ^ agent.size()) * 0xC2B2AE3D27D4EB4Full;
  return static_cast<std::size_t>(mixed >> 58);
}

std::uint32_t ClientIds::AgentOf(std::optional<std::string_view> agent, bool* new_agent) {
  if (new_agent) *new_agent = false;
  if (!agent) return 0;
  static_assert(kRecentAgents == 64, "the top six bits of the mix choose a slot");
  RecentAgent& recent = recent_[RecentSlot(*agent)];
  if (recent.id != 0 && recent.text == *agent) return recent.id;
  const auto [id, added] = agents_.Of(*agent);
  if (new_agent) *new_agent = added;
  recent = {*agent, id};
  return id;
}

ClientKey ClientIds::Of(std::string_view address, std::uint32_t agent, std::size_t readable) {
  if (const std::optional<std::uint32_t> ipv4 = CanonicalIpv4(address, readable)) return {*ipv4, agent};
  return {addresses_.Of(address).first, agent | kGivenAddress};
}

}  // namespace junmaru
