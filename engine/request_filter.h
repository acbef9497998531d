#pragma once

// Decides whether a log line records a download (a GET over HTTP/1.0 or
// HTTP/1.1), cuts its request path, drops it by the built-in rules, the
// switched-on extension categories and the exclusion words, and counts
// what survives. Every test is on bytes, case-sensitive, nothing trimmed.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "download_tally.h"
#include "run_settings.h"

namespace junmaru {

class RequestFilter {
 public:
  explicit RequestFilter(const RunSettings& settings);

  // Counts the line's path in the tally when the line is a download whose
  // path no rule drops. The line must outlive the tally.
  void Check(std::string_view line, DownloadTally& tally) const {
    if (std::optional<std::string_view> path = PathToCount(line)) tally.CountPath(*path);
  }
  // The path Check would count for line, or nothing.
  std::optional<std::string_view> PathToCount(std::string_view line) const {
    std::optional<std::string_view> path = DownloadPath(line);
    if (path && Drops(*path)) path.reset();
    return path;
  }

  // The request path of a line that holds the GET marker and an HTTP
  // marker; nothing for any other line. The path may be empty.
  static std::optional<std::string_view> DownloadPath(std::string_view line);

  // True when a built-in rule, a switched-on category or a word drops path.
  bool Drops(std::string_view path) const;

 private:
  // A suffix of up to four bytes, compared against a path's last four bytes
  // as one integer: (tail & mask) == bytes.
  struct Suffix {
    std::string_view text;
    std::uint32_t bytes;
    std::uint32_t mask;
  };
  bool EndsWithAnySuffix(std::string_view path) const;

  // An exclusion word with one of its bytes chosen as a probe: a path
  // that lacks the probe byte cannot hold the word, and one memchr tells.
  struct Word {
    std::string text;
    char probe;
  };

  std::vector<Suffix> suffixes_;            // of the switched-on categories, in testing order
  // Bit i of ending_with_[b] is set when suffixes_[i] ends with byte b, so
  // a path is tested only against the suffixes that end as it does.
  std::array<std::uint64_t, 256> ending_with_{};
  std::vector<Word> words_;                 // the non-empty exclusion words, in memo order
};

}  // namespace junmaru
