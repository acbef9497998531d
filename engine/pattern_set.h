#pragma once

// Regular expressions written for Python's re.search (see python_pattern.h),
// matched all at once against a text by RE2's multi-pattern engine: one
// pass over the text tells which of them match somewhere in it. Should the
// combined automaton run out of memory on a very long text, each pattern is
// matched on its own instead, so that the answer is the same.

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace junmaru {

class PatternSet {
 public:
  PatternSet();
  ~PatternSet();
  PatternSet(PatternSet&&) noexcept;
  PatternSet& operator=(PatternSet&&) noexcept;

  // Adds a pattern (UTF-8); false, adding nothing, when it cannot be
  // matched with its Python meaning or is no valid pattern.
  bool Add(std::string_view python_pattern);
  // Makes the set ready to match; no pattern may be added afterwards.
  // When the patterns do not fit in memory together, gives the place (in
  // the order of adding) of one that RE2 cannot run even on its own, and
  // fails with std::bad_alloc when there is none such.
  std::optional<std::size_t> Compile();

  std::size_t Size() const;
  // True when some pattern matches somewhere in text (its bytes read as
  // Latin-1 characters). Safe to call from one thread at a time.
  bool AnyMatches(std::string_view text) const;
  // The patterns that match somewhere in text, by their place in the order
  // of adding, ascending.
  std::vector<int> Matching(std::string_view text) const;

 private:
  struct Engine;
  std::unique_ptr<Engine> engine_;
};

}  // namespace junmaru
