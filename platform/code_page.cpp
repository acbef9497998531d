#include "code_page.h"

#include <mutex>
#include <unordered_map>

namespace junmaru {

const std::string& Sjis(const char* utf8_literal) {
  static std::mutex guard;
  static std::unordered_map<const char*, std::string> converted;
  std::lock_guard<std::mutex> lock(guard);
  auto it = converted.find(utf8_literal);
  if (it == converted.end()) it = converted.emplace(utf8_literal, Utf8ToCp932(utf8_literal)).first;
  return it->second;
}

}  // namespace junmaru
