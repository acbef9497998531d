#include "profile_text.h"

#include <unordered_set>

#include "cp932.h"
#include "line_split.h"
#include "text_compare.h"

namespace junmaru {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsQuoted(std::string_view s) {
  return s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front();
}

struct ParsedLine {
  enum Kind { kOther, kSection, kEntry } kind = kOther;
  std::string_view name;   // section name or key
  std::string_view value;  // entries only
};

// The byte position of the first "]" character of s at or after from, or npos.
std::size_t FindClosingBracket(std::string_view s, std::size_t from) {
  for (std::size_t i = from; i < s.size(); i += CharLength(s, i))
    if (s[i] == ']') return i;
  return std::string_view::npos;
}

ParsedLine ParseLine(std::string_view line) {
  std::string_view t = Trim(line);
  std::size_t eq = t.find('=');  // "=" is never the second byte of a character
  if (eq != std::string_view::npos) {
    std::string_view value = Trim(t.substr(eq + 1));
    if (IsQuoted(value)) value = value.substr(1, value.size() - 2);
    return {ParsedLine::kEntry, Trim(t.substr(0, eq)), value};
  }
  if (!t.empty() && t[0] == '[') {
    std::size_t close = FindClosingBracket(t, 1);
    if (close != std::string_view::npos) return {ParsedLine::kSection, Trim(t.substr(1, close - 1)), {}};
  }
  return {};
}

std::string_view CutAtLineBreak(std::string_view s) { return s.substr(0, s.find_first_of("\r\n")); }

}  // namespace

ProfileText::ProfileText() : blocks_(1) {}

ProfileText::ProfileText(std::string_view bytes) : blocks_(1) {
  Section* current = nullptr;
  SplitLines(bytes, [&](std::size_t begin, std::size_t end) {
    AddLine(std::string(bytes.substr(begin, end - begin)), current);
  });
}

void ProfileText::AddLine(std::string line, Section*& current) {
  ParsedLine parsed = ParseLine(line);
  if (parsed.kind == ParsedLine::kSection) {
    current = &sections_[FoldText(parsed.name)];
    current->blocks.push_back(blocks_.size());
    blocks_.emplace_back();
  } else if (parsed.kind == ParsedLine::kEntry && current != nullptr) {
    current->keys.try_emplace(FoldText(parsed.name), Place{blocks_.size() - 1, blocks_.back().size()});
  }
  blocks_.back().push_back(std::move(line));
}

std::string ProfileText::Bytes() const {
  std::size_t size = 0;
  for (const auto& block : blocks_)
    for (const auto& line : block) size += line.size() + 2;
  std::string out;
  out.reserve(size);
  for (const auto& block : blocks_)
    for (const auto& line : block) {
      out += line;
      out += "\r\n";
    }
  return out;
}

std::optional<std::string_view> ProfileText::Find(std::string_view section, std::string_view key) const {
  auto sec = sections_.find(FoldText(section));
  if (sec == sections_.end()) return std::nullopt;
  auto entry = sec->second.keys.find(FoldText(StoredKey(key)));
  if (entry == sec->second.keys.end()) return std::nullopt;
  const Place& at = entry->second;
  return ParseLine(blocks_[at.block][at.line]).value;
}

std::vector<std::string_view> ProfileText::Keys(std::string_view section) const {
  std::vector<std::string_view> keys;
  auto sec = sections_.find(FoldText(section));
  if (sec == sections_.end()) return keys;
  std::unordered_set<std::string_view> listed;
  for (std::size_t b : sec->second.blocks) {
    for (const std::string& line : blocks_[b]) {
      ParsedLine parsed = ParseLine(line);
      if (parsed.kind == ParsedLine::kEntry && !parsed.name.empty() && listed.insert(parsed.name).second)
        keys.push_back(parsed.name);
    }
  }
  return keys;
}

std::string ProfileText::StoredKey(std::string_view key) {
  key = CutAtLineBreak(key);
  return std::string(Trim(key.substr(0, key.find('='))));
}

std::string ProfileText::StoredValue(std::string_view value) {
  value = CutAtLineBreak(value);
  if (Trim(value).size() != value.size() || IsQuoted(value)) return "\"" + std::string(value) + "\"";
  return std::string(value);
}

void ProfileText::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string stored_key = StoredKey(key);
  const std::string folded_key = FoldText(stored_key);
  const std::string stored_value = StoredValue(value);
  auto sec = sections_.find(FoldText(section));
  if (sec == sections_.end()) {
    // A new section at the end of the file. Its name goes in as given.
    Section* current = nullptr;
    AddLine("[" + std::string(CutAtLineBreak(section)) + "]", current);
    AddLine(stored_key + "=" + stored_value, current);
    return;
  }
  Section& s = sec->second;
  auto entry = s.keys.find(folded_key);
  if (entry != s.keys.end()) {
    std::string& line = blocks_[entry->second.block][entry->second.line];
    const ParsedLine parsed = ParseLine(line);
    // A value written back unchanged keeps the line as the keeper wrote it.
    if (parsed.value != CutAtLineBreak(value)) line = std::string(parsed.name) + "=" + stored_value;
    return;
  }
  // A new key after the last non-blank line of the section's last part, so
  // that blank lines before the next section stay where they are. Only blank
  // lines follow that place, so no indexed line moves.
  std::size_t b = s.blocks.back();
  auto& lines = blocks_[b];
  std::size_t at = lines.size();
  while (at > 1 && Trim(lines[at - 1]).empty()) --at;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), stored_key + "=" + stored_value);
  s.keys.emplace(folded_key, Place{b, at});
}

}  // namespace junmaru
