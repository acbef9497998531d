#pragma once

// The text of a settings file held in memory, line by line, with an index
// of its sections and keys. Lines that no write touches keep their bytes,
// so rewriting the file changes only the entries written.
//
// How lines are understood:
// - Lines end at CR LF, a lone CR or a lone LF; a NUL byte is an ordinary
//   byte (it must not cut the text, or a rewrite would drop what follows).
// - Blanks are spaces and tabs; they are trimmed around section names, keys
//   and values. Neither byte can be the second byte of a double-byte
//   character, so trimming bytes never splits one.
// - A line holding "=" is an entry: the key is the text before the first
//   "=", the value the rest; a value enclosed in a pair of matching double
//   or single quotes loses them. Entries before the first section line
//   belong to no section.
// - A line without "=" that starts with "[" and has a "]" after it is a
//   section line; the name runs to the first "]" character (a "]" byte that
//   is the second byte of a double-byte character does not count). Keeping
//   "=" out of section lines means an entry whose key starts with "[" (an
//   exclusion word can) is never mistaken for a section.
// - Any other line (blank, or text without "=") is kept and ignored.
// - Section names and keys match under FoldText: case is ignored the way
//   the program's text comparison ignores it, character by character, so a
//   second byte is never case-folded.
// - A section may appear more than once: its parts are one section, read in
//   file order. A key that appears twice in a section is read from its first
//   line; later lines of the same key are shadowed for reading and writing
//   values, but a later line spelled with other letter case is still one of
//   the section's keys (Keys lists it): keepers edit the exclusion words by
//   hand, and "Beta" and "beta" are two words there.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace junmaru {

class ProfileText {
 public:
  ProfileText();
  explicit ProfileText(std::string_view bytes);

  // The file's bytes: every line followed by CR LF.
  std::string Bytes() const;

  // The value of key in section (trimmed, quotes removed, not cut), or
  // nothing when the section or key is absent.
  std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

  // The section's non-empty keys in file order, each spelling once: keys
  // that differ only in letter case are all listed.
  std::vector<std::string_view> Keys(std::string_view section) const;

  // Stores value for key: an existing entry (the first whose key matches)
  // is rewritten in place with its stored key spelling, and left byte for
  // byte as it is when it already reads as value; a new key goes after the
  // last non-blank line of the section's last part; a new section goes at
  // the end of the file. key and value are brought into the forms
  // StoredKey and StoredValue give.
  void Set(std::string_view section, std::string_view key, std::string_view value);

  // The key as the file can hold it, which is what reading the entry back
  // gives: the text before its first line break or "=", blanks trimmed.
  static std::string StoredKey(std::string_view key);
  // The value as written in the file, so that reading it back gives the
  // value itself: cut at its first line break, and enclosed in double quotes
  // only when trimming or quote removal would otherwise change it.
  static std::string StoredValue(std::string_view value);

 private:
  struct Place {
    std::size_t block, line;
    bool operator==(const Place&) const = default;
  };
  struct Section {
    std::vector<std::size_t> blocks;               // parts of the section, in file order
    std::unordered_map<std::string, Place> keys;   // folded key -> its first entry line
  };

  // Appends a line to the last block (or starts a block at a section
  // line) and indexes it; current is the section of the last block.
  void AddLine(std::string line, Section*& current);

  // blocks_[0] holds the lines before the first section line; every other
  // block starts with its section line.
  std::vector<std::vector<std::string>> blocks_;
  std::unordered_map<std::string, Section> sections_;  // by folded name
};

}  // namespace junmaru
