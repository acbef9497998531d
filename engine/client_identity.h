#pragma once

// Who downloaded: the client of a log line, as the counting rules tell
// clients apart. A client is the line's address (its first field, up to
// the first space: ClientAddress) together with its user agent (the last
// quoted field: UserAgent; a line without one has none). The
// OncePerClient rule counts a file at most once per client and day, and a
// count of a file's downloaders would count its clients, so both share
// this identity.
//
// A client is a ClientKey, two numbers that are equal exactly when the
// addresses and the user agents are equal byte for byte. ClientIds hands
// them out during one scan; they mean nothing beyond it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace junmaru {

struct ClientKey {
  // A canonical dotted IPv4 address as its number, or the number ClientIds
  // gave any other address (an IPv6 address, a host name).
  std::uint32_t address = 0;
  // The user agent's number (0: none), with the top bit set when the
  // address is such a given number.
  std::uint32_t agent = 0;
  friend constexpr bool operator==(ClientKey, ClientKey) = default;
};

// A dotted IPv4 address written the one way it can be (four numbers of
// 0 to 255 without leading zeros), as its number; such a text and its
// number stand for each other, so equal numbers mean equal texts.
// readable: how many bytes from text.data() may be read (at least its
// size); with 18, the text is read where it lies.
std::optional<std::uint32_t> CanonicalIpv4(std::string_view text, std::size_t readable);
inline std::optional<std::uint32_t> CanonicalIpv4(std::string_view text) { return CanonicalIpv4(text, text.size()); }

// Numbers for the distinct texts of a log, 1, 2, 3 ... in the order met.
// It keeps views: the texts must outlive it.
class TextIds {
 public:
  TextIds();
  // The text's number, and whether the text is new.
  std::pair<std::uint32_t, bool> Of(std::string_view text);
  std::string_view Text(std::uint32_t id) const { return texts_[id - 1].text; }
  std::size_t Size() const { return texts_.size(); }

 private:
  void Grow();
  struct Known {
    std::string_view text;
    std::uint64_t hash;
  };
  std::vector<Known> texts_;
  std::vector<std::uint32_t> slots_;  // open addressing: 0 empty, else number
  std::size_t mask_ = 0;
  const std::uint64_t seed_;  // drawn at random: the texts come from strangers
};

class ClientIds {
 public:
  // The number of a line's user agent: 0 for none. new_agent tells
  // whether this user agent is met for the first time.
  std::uint32_t AgentOf(std::optional<std::string_view> agent, bool* new_agent = nullptr);
  // The client of a line with this address and agent number; readable as
  // for CanonicalIpv4.
  ClientKey Of(std::string_view address, std::uint32_t agent, std::size_t readable = 0);

  const TextIds& Agents() const { return agents_; }

 private:
  // The user agents met last, each in the slot its length and its first
  // and last bytes choose: a log's lines come from a few agents, so most
  // are found here by one comparison instead of a hash of the whole text.
  // The choice is not seeded: texts chosen to meet in a slot only send
  // each other to the seeded table.
  struct RecentAgent {
    std::string_view text;
    std::uint32_t id = 0;
  };
  static constexpr std::size_t kRecentAgents = 64;
  static std::size_t RecentSlot(std::string_view agent);

  TextIds agents_;
  TextIds addresses_;  // all but canonical IPv4 addresses
  RecentAgent recent_[kRecentAgents];
};

}  // namespace junmaru
