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
// number stand for each other, so equal numbers mean equal texts.
std::optional<std::uint32_t> CanonicalIpv4(std::string_view text) {
  if (text.size() < 7 || text.size() > 15) return std::nullopt;
  std::uint32_t value = 0;
  std::size_t i = 0;
  for (int part = 0; part < 4; ++part) {
    if (part > 0) {
      if (i >= text.size() || text[i] != '.') return std::nullopt;
      ++i;
    }
    const std::size_t start = i;
    unsigned number = 0;
    while (i < text.size() && i - start < 3 && text[i] >= '0' && text[i] <= '9') number = number * 10 + (text[i++] - '0');
    const std::size_t digits = i - start;
    if (digits == 0 || number > 255 || (digits > 1 && text[start] == '0')) return std::nullopt;
    value = value << 8 | number;
  }
  if (i != text.size()) return std::nullopt;
  return value;
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
