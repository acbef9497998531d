#pragma once

// Texts that the program put into a control come back as the very bytes
// it put there. A Win32 control holds its text as UTF-16, so through the
// ANSI functions some code page 932 bytes would come back changed: a
// character that the code page encodes twice (the NEC-selected IBM
// extensions 0xED40... read back as the IBM extensions 0xFA40...) and
// bytes that form no character. So each text the program sets is kept
// with the text the control gives back for it; a text the user typed has
// no kept bytes and reads as the control gives it.

#include <map>
#include <string>
#include <vector>

namespace junmaru::win32 {

class KeptTexts {
 public:
  void Clear() { originals_.clear(); }
  // Texts that show alike are kept in the order they were set, so that the
  // n-th of them reads back as the n-th kept.
  void Keep(const std::string& shown, const std::string& original) { originals_[shown].push_back(original); }
  // The bytes of the occurrence-th text (from 0) that shows as shown.
  const std::string& Original(const std::string& shown, std::size_t occurrence = 0) const {
    const auto found = originals_.find(shown);
    if (found == originals_.end() || occurrence >= found->second.size()) return shown;
    return found->second[occurrence];
  }

 private:
  std::map<std::string, std::vector<std::string>> originals_;  // shown text -> the bytes the program set
};

}  // namespace junmaru::win32
