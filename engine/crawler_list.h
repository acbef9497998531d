#pragma once

// The crawlers of the Bots counting rule: the public list
// crawler-user-agents (its JSON, shipped beside the program), of which a
// pattern counts as a crawler unless every tag it carries is
// "http-library" or "browser-automation": wget, curl and download
// managers are people downloading. A pattern without tags is a crawler.
// Patterns match anywhere in the user agent, case-sensitive, with the
// meaning Python's re.search gives them (pattern_set.h).

#include <memory>
#include <string>
#include <string_view>

#include "pattern_set.h"

namespace junmaru {

// The list's file name, in the program's folder.
inline constexpr char kCrawlerListFileName[] = "crawler-user-agents.json";

class CrawlerList {
 public:
  // The list in the file at path. Fails, with a message that names the
  // file and the key Bots, when the file cannot be read, is not such a
  // list, or holds a pattern that cannot be matched with its meaning.
  static std::shared_ptr<const CrawlerList> Load(const std::string& path);
  // The same from the file's text (path names it in messages).
  static std::shared_ptr<const CrawlerList> FromJson(std::string_view json, const std::string& path);

  // True when a crawler pattern matches somewhere in user_agent. One
  // thread at a time.
  bool Matches(std::string_view user_agent) const { return crawlers_.AnyMatches(user_agent); }
  std::size_t PatternCount() const { return crawlers_.Size(); }

 private:
  PatternSet crawlers_;
};

}  // namespace junmaru
