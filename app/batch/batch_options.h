#pragma once

// The command line of junmaru-batch.

#include <optional>
#include <string>
#include <vector>

namespace junmaru::batch {

struct BatchOptions {
  bool help = false;
  std::optional<std::string> settings;  // --settings FILE
  std::optional<std::string> log;       // --log FILE
  std::optional<std::string> out;       // --out FILE
  std::optional<long long> from;        // --from N, 1-based
  std::optional<long long> to;          // --to M, 1-based, inclusive
};

struct ParsedOptions {
  BatchOptions options;
  std::string problem;  // empty when the arguments were good
};

// Reads "--name VALUE" and "--name=VALUE" forms; a repeated option takes
// its last value. Numbers are decimal integers; --from beyond --to, when
// both are given, is refused here, before any file is touched.
ParsedOptions ParseOptions(const std::vector<std::string>& args);

// One line: the synopsis shown after a bad argument.
extern const char kUsageLine[];
// The whole --help text, in Japanese and English (UTF-8).
extern const char kHelpText[];

}  // namespace junmaru::batch
