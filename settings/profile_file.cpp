#include "profile_file.h"

#include <charconv>

#include "cp932.h"
#include "error.h"
#include "file_io.h"
#include "text_list.h"

namespace junmaru {
namespace {

Error CannotWrite(const std::string& path) {
  return Error(PathForMessage(path) + Sjis(" に書き込めません"));
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// The whole of text as a number of the given base, or false. A sign is for
// decimals only, and a digit must follow it.
bool ParseWhole(std::string_view text, int base, long long& out) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (base == 10 && first != last && (*first == '+' || *first == '-')) {
    if (last - first < 2 || !IsDigit(first[1])) return false;
    if (*first == '+') ++first;
  } else if (first == last || !(base == 16 ? IsHexDigit(*first) : IsDigit(*first))) {
    return false;
  }
  long long value = 0;
  auto [end, ec] = std::from_chars(first, last, value, base);
  if (ec != std::errc() || end != last) return false;
  out = value;
  return true;
}

}  // namespace

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {}

const ProfileText& ProfileFile::View() const {
  if (!view_) {
    view_.emplace();
    try {
      if (FileExists(path_)) view_.emplace(ReadWholeFile(path_));
    } catch (const Error&) {
      // An unreadable file reads as an empty one: every value its default.
    }
  }
  return *view_;
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view default_value) const {
  std::optional<std::string_view> value = View().Find(section, key);
  if (!value) return std::string(default_value);
  return std::string(value->substr(0, kMaxValueBytes));
}

long long ProfileFile::ReadInteger(std::string_view section, std::string_view key, long long default_value) const {
  std::optional<std::string_view> found = View().Find(section, key);
  if (!found) return default_value;
  std::string_view text = found->substr(0, kMaxValueBytes);
  long long value;
  bool ok = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') ? ParseWhole(text.substr(2), 16, value)
                                                                                    : ParseWhole(text, 10, value);
  return ok ? value : default_value;
}

bool ProfileFile::ReadBool(std::string_view section, std::string_view key, bool default_value) const {
  return ReadInteger(section, key, default_value ? 1 : 0) != 0;
}

void ProfileFile::ReadSection(std::string_view section, TextList& keys) const {
  keys.Clear();
  std::size_t room = kKeyListBytes;
  for (std::string_view key : View().Keys(section)) {
    if (key.size() + 1 <= room) {
      keys.Add(std::string(key));
      room -= key.size() + 1;
      continue;
    }
    if (room > 1) keys.Add(std::string(key.substr(0, room - 1)));
    break;
  }
}

void ProfileFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  pending_.push_back({std::string(section), std::string(key), std::string(value)});
  if (view_) view_->Set(section, key, value);
}

void ProfileFile::WriteInteger(std::string_view section, std::string_view key, long long value) {
  WriteString(section, key, std::to_string(value));
}

void ProfileFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void ProfileFile::Close() {
  if (pending_.empty()) return;
  // Apply the writes to the file as it is now, not as it was when read.
  ProfileText current;
  if (FileExists(path_)) {
    try {
      current = ProfileText(ReadWholeFile(path_));
    } catch (const Error&) {
      throw CannotWrite(path_);
    }
  }
  for (const Write& w : pending_) current.Set(w.section, w.key, w.value);
  try {
    ReplaceFile(path_, current.Bytes());
  } catch (const Error&) {
    throw CannotWrite(path_);
  }
  view_ = std::move(current);
  pending_.clear();
}

}  // namespace junmaru
