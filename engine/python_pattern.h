#pragma once

// Regular expressions written for Python's re.search, as RE2 takes them.
//
// The crawler list's patterns are Python's: its own tests match them with
// re.search. A user agent is matched a byte at a time, each byte one
// character (RE2's Latin-1 encoding), which is how Python matches the text
// decoded as Latin-1. The two engines read most syntax alike; where Python
// gives a construct another meaning, it is written out here so that RE2
// gives the same:
// - \d, \s, \w and their negations are Python's Unicode classes, which on
//   Latin-1 hold more than RE2's ASCII ones (\s takes 0x1C to 0x1F, 0x85
//   and 0xA0; \w letters such as 0xE9), so each becomes the explicit set;
//   a bracketed class becomes the explicit set of its bytes.
// - "." and "$": Python's "." takes anything but a line break, as RE2's
//   does; Python's "$" also matches before a final line break, which no
//   user agent holds (a log line ends at its break), so it becomes \z.
// - "{" that starts no repetition is a literal, and "{,n}" means
//   "{0,n}", as Python reads them.
// What RE2 cannot do with the same meaning (look-around, back-references,
// \b and \B, inline flags, conditionals, atomic groups, possessive
// repetition, octal and \u escapes, characters beyond U+00FF) is refused.

#include <optional>
#include <string>
#include <string_view>

namespace junmaru {

// The RE2 pattern (Latin-1, case-sensitive) that matches exactly where
// python_pattern (UTF-8) matches under Python's re.search; none when it
// uses what RE2 cannot give the same meaning, or is no valid pattern.
std::optional<std::string> Re2FromPython(std::string_view python_pattern);

}  // namespace junmaru
