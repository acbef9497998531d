#include "client_identity.h"

#include <random>

#include "key_hash.h"

namespace junmaru {
namespace {

constexpr std::uint32_t kGivenAddress = 0x80000000u;

std::uint64_t RandomSeed() {
  std::random_device device;
  return (std::uint64_t{device()} << 32) ^ device();
}

// A dotted IPv4 address written the one way it can be (four numbers of
// 0 to 255 without leading zeros), as its number; such a text and its
// number stand for each other, so equal numbers mean equal texts. Every
// address of a log is read, so the bytes are taken without a branch on
// what they are: the lengths of the numbers are as varied as the clients.
std::optional<std::uint32_t> CanonicalIpv4(std::string_view text) {
  if (text.size() < 7 || text.size() > 15) return std::nullopt;
  std::uint32_t value = 0, number = 0, digits = 0, dots = 0;
  bool sound = true;
  for (const char c : text) {
    const std::uint32_t d = static_cast<std::uint32_t>(static_cast<unsigned char>(c)) - '0';
    const bool digit = d < 10, dot = c == '.';
    // A digit extends a number of at most two digits that is not a lone 0;
    // a dot ends a number of 0 to 255.
    sound &= (digit & (digits < 3) & ((digits == 0) | (number != 0))) | (dot & (digits != 0) & (number <= 255));
    value = dot ? value << 8 | number : value;
    dots += dot;
    number = dot ? 0 : number * 10 + d;
    digits = dot ? 0 : digits + 1;
  }
  if (!sound || dots != 3 || digits == 0 || number > 255) return std::nullopt;
  return value << 8 | number;
}

}  // namespace

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

std::uint32_t ClientIds::AgentOf(std::optional<std::string_view> agent, bool* new_agent) {
  if (!agent) {
    if (new_agent) *new_agent = false;
    return 0;
  }
  const auto [id, added] = agents_.Of(*agent);
  if (new_agent) *new_agent = added;
  return id;
}

ClientKey ClientIds::Of(std::string_view address, std::uint32_t agent) {
  if (const std::optional<std::uint32_t> ipv4 = CanonicalIpv4(address)) return {*ipv4, agent};
  return {addresses_.Of(address).first, agent | kGivenAddress};
}

}  // namespace junmaru
