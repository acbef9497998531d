#pragma once

// Decides whether a log line records a download (a GET over HTTP/1.0 or
// HTTP/1.1), cuts its request path, and drops it by the built-in rules,
// the switched-on extension families and the exclusion words; the run
// counts what survives. Every test is on bytes, case-sensitive, nothing
// trimmed.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "run_settings.h"

namespace junmaru {

class RequestFilter {
 public:
  explicit RequestFilter(const RunSettings& settings);

  // The request path of a line that holds the GET marker and an HTTP
  // marker; nothing for any other line. The path may be empty.
  static std::optional<std::string_view> DownloadPath(std::string_view line) {
    const std::string_view path = FindDownloadPath(line);
    if (path.data() == nullptr) return std::nullopt;
    return path;
  }
  // The same as a view whose data() is null for nothing: it comes back in
  // registers, where an optional would come back through memory, stored
  // in pieces and loaded whole, which the processor cannot forward.
  static std::string_view FindDownloadPath(std::string_view line);

  // True when a built-in rule, a switched-on family or a word drops path.
  bool Drops(std::string_view path) const;

 private:
  // The suffixes of the switched-on families, each of two to four bytes,
  // as a set of integers (the length above the bytes, the last byte
  // lowest) kept in a small open-addressed table: a path's last two,
  // three and four bytes are looked up with one probe each, most times.
  class SuffixSet {
   public:
    void Add(std::string_view suffix);  // one to four bytes
    bool EndsOneOf(std::string_view path) const;

   private:
    static std::uint64_t Key(const char* bytes, std::size_t length);
    static std::size_t FirstSlot(std::uint64_t key);
    bool Holds(std::uint64_t key) const;
    static constexpr std::size_t kSlots = 256;  // more than six slots per suffix
    std::array<std::uint64_t, kSlots> slots_{};  // 0: empty
    unsigned lengths_ = 0;  // bit n: a suffix of n bytes is in the set
  };

  // An exclusion word with one of its bytes chosen as a probe: a path
  // that lacks the probe byte cannot hold the word, and one memchr tells.
  struct Word {
    std::string text;
    char probe;
  };

  SuffixSet suffixes_;
  std::vector<Word> words_;                 // the non-empty exclusion words, in memo order
};

}  // namespace junmaru
