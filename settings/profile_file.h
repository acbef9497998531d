#pragma once

// The settings file as the window uses it: an INI file opened on a path,
// read and written entry by entry, every call naming the section and key.
//
// Reading never fails: a file, section or key that is missing, or a file
// that cannot be read, gives the caller's default. The file is read when
// the first value is asked for and kept in memory; a value read after a
// write sees that write.
//
// Writes are collected and reach the disk together in Close(), which reads
// the file as it is at that moment, applies the writes in order and
// replaces the file whole (temporary file beside it, then rename). So the
// file is never half-written, and what another copy of the program stored
// meanwhile is kept unless the same entry is written here. The destructor
// writes nothing: writes not closed are dropped, as when the program is
// ended other than by closing its window.

#include <string>
#include <string_view>
#include <vector>

#include "profile_text.h"

namespace junmaru {

class TextList;

class ProfileFile {
 public:
  // A value read is cut to this many bytes.
  static constexpr std::size_t kMaxValueBytes = 2047;
  // ReadSection fills a key list of this many bytes, each key taking its
  // length plus one; keys that no longer fit are not read, except that the
  // first key that does not fit whole is read cut to the room left less one
  // byte (when that leaves at least one byte).
  static constexpr std::size_t kKeyListBytes = 16384;

  // Touches nothing yet.
  explicit ProfileFile(std::string path);

  const std::string& Path() const { return path_; }

  std::string ReadString(std::string_view section, std::string_view key, std::string_view default_value) const;
  // Decimal with an optional sign, or hexadecimal after "0x"/"0X" when the
  // value has more than two characters; anything else, or a number beyond
  // 64 bits, gives the default.
  long long ReadInteger(std::string_view section, std::string_view key, long long default_value) const;
  // Read as an integer (default 1 or 0); any integer but 0 is true.
  bool ReadBool(std::string_view section, std::string_view key, bool default_value) const;
  // Empties keys, then adds the section's keys in file order (within the
  // key-list size above). Empty keys are left out.
  void ReadSection(std::string_view section, TextList& keys) const;

  // Stored in memory until Close(). Keys and values are stored in the forms
  // ProfileText::StoredKey and ProfileText::StoredValue give.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, long long value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

  // Makes sure everything written has reached the file; does nothing when
  // nothing was written. Fails with "%s に書き込めません" (the path) when the
  // file cannot be written, or exists but cannot be read (replacing it
  // unread would lose what it holds); the file is then as it was, and the
  // writes stay pending.
  void Close();

 private:
  const ProfileText& View() const;

  struct Write {
    std::string section, key, value;
  };

  std::string path_;
  mutable std::optional<ProfileText> view_;  // the file as read, plus the writes since
  std::vector<Write> pending_;               // writes not yet on disk, in order
};

}  // namespace junmaru
