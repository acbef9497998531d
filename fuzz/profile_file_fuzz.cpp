// A fuzzed settings file: reading any entry never fails, and an entry
// written into it reads back as written, also after the file is re-read.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "profile_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace junmaru;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ProfileText text(bytes);
  for (const char* section : {"FilePass", "HTML", "KinsiWord", ""}) {
    for (std::string_view key : text.Keys(section)) {
      if (!text.Find(section, key)) std::abort();
    }
  }
  // Use the first bytes of the input as a word to store, as the window
  // stores exclusion words.
  const std::string word(bytes.substr(0, bytes.size() < 12 ? bytes.size() : 12));
  const std::string key = ProfileText::StoredKey(word);
  text.Set("KinsiWord", word, "OK");
  text.Set("HTML", "Prefix", word);
  const ProfileText reread(text.Bytes());
  if (!key.empty()) {
    auto value = reread.Find("KinsiWord", key);
    if (!value || *value != "OK") std::abort();
  }
  auto prefix = reread.Find("HTML", "Prefix");
  const std::string expected = word.substr(0, word.find_first_of("\r\n"));
  if (!prefix || *prefix != expected) std::abort();
  return 0;
}
