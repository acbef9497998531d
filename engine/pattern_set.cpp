#include "pattern_set.h"

#include <re2/re2.h>
#include <re2/set.h>

#include <algorithm>
#include <new>
#include <string>

#include "python_pattern.h"

namespace junmaru {
namespace {

RE2::Options MatchOptions() {
  RE2::Options options;
  options.set_encoding(RE2::Options::EncodingLatin1);
  options.set_case_sensitive(true);
  options.set_log_errors(false);
  // Room for the automaton of a whole crawler list; a text that needs
  // more is matched a pattern at a time (see Matches).
  options.set_max_mem(int64_t{64} << 20);
  return options;
}

}  // namespace

struct PatternSet::Engine {
  RE2::Options options = MatchOptions();
  RE2::Set set{options, RE2::UNANCHORED};
  std::vector<std::string> patterns;  // RE2's forms, in the order of adding
  bool compiled = false;
  // Each pattern on its own, for a text the set cannot finish.
  std::vector<std::unique_ptr<RE2>> singles;

  // The patterns matching text, or only whether any does (matching null).
  bool Matches(std::string_view text, std::vector<int>* matching) {
    RE2::Set::ErrorInfo error{};
    if (set.Match(re2::StringPiece(text.data(), text.size()), matching, &error)) {
      if (matching) std::sort(matching->begin(), matching->end());
      return true;
    }
    if (error.kind == RE2::Set::kNoError) return false;
    if (singles.empty())
      for (const std::string& pattern : patterns) singles.push_back(std::make_unique<RE2>(pattern, options));
    bool any = false;
    for (std::size_t i = 0; i < singles.size(); ++i) {
      if (!RE2::PartialMatch(re2::StringPiece(text.data(), text.size()), *singles[i])) continue;
      any = true;
      if (!matching) break;
      matching->push_back(static_cast<int>(i));
    }
    return any;
  }
};

PatternSet::PatternSet() : engine_(std::make_unique<Engine>()) {}
PatternSet::~PatternSet() = default;
PatternSet::PatternSet(PatternSet&&) noexcept = default;
PatternSet& PatternSet::operator=(PatternSet&&) noexcept = default;

bool PatternSet::Add(std::string_view python_pattern) {
  const std::optional<std::string> pattern = Re2FromPython(python_pattern);
  if (!pattern || engine_->compiled) return false;
  if (engine_->set.Add(*pattern, nullptr) < 0) return false;
  engine_->patterns.push_back(*pattern);
  return true;
}

std::optional<std::size_t> PatternSet::Compile() {
  if (!engine_->set.Compile()) {
    // A pattern RE2 parses but cannot run (too large) spoils the whole
    // set; it is looked for only then, a list of patterns being slow to
    // build one by one.
    for (std::size_t i = 0; i < engine_->patterns.size(); ++i)
      if (!RE2(engine_->patterns[i], engine_->options).ok()) return i;
    throw std::bad_alloc();
  }
  engine_->compiled = true;
  return std::nullopt;
}

std::size_t PatternSet::Size() const { return engine_->patterns.size(); }

bool PatternSet::AnyMatches(std::string_view text) const {
  return !engine_->patterns.empty() && engine_->Matches(text, nullptr);
}

std::vector<int> PatternSet::Matching(std::string_view text) const {
  std::vector<int> matching;
  if (!engine_->patterns.empty()) engine_->Matches(text, &matching);
  return matching;
}

}  // namespace junmaru
