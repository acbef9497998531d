#include "crawler_list.h"

#include <nlohmann/json.hpp>

#include "error.h"
#include "file_bytes.h"
#include "file_io.h"
#include "messages.h"

namespace junmaru {
namespace {

// Tags of the patterns that are people downloading with a tool.
bool IsToolTag(const std::string& tag) { return tag == "http-library" || tag == "browser-automation"; }

// Whether an entry of the list names a crawler: it carries a tag other
// than a tool's, or none at all. None when the entry is malformed.
std::optional<bool> IsCrawlerEntry(const nlohmann::json& entry) {
  const auto tags = entry.find("tags");
  if (tags == entry.end()) return true;
  if (!tags->is_array()) return std::nullopt;
  if (tags->empty()) return true;
  for (const nlohmann::json& tag : *tags) {
    if (!tag.is_string()) return std::nullopt;
    if (!IsToolTag(tag.get_ref<const std::string&>())) return true;
  }
  return false;
}

}  // namespace

std::shared_ptr<const CrawlerList> CrawlerList::Load(const std::string& path) {
  std::string json;
  try {
    json = std::string(FileBytes::Load(path).view());
  } catch (const Error&) {
    throw Error(messages::CrawlerListUnreadable(PathForMessage(path)));
  }
  return FromJson(json, path);
}

std::shared_ptr<const CrawlerList> CrawlerList::FromJson(std::string_view json, const std::string& path) {
  // Only each entry's pattern and tags are kept: the list's examples and
  // descriptions are most of its bytes.
  const auto keep = [](int depth, nlohmann::json::parse_event_t event, const nlohmann::json& parsed) {
    return event != nlohmann::json::parse_event_t::key || depth != 2 || parsed == "pattern" || parsed == "tags";
  };
  const nlohmann::json list = nlohmann::json::parse(json.begin(), json.end(), keep, false);
  if (list.is_discarded() || !list.is_array()) throw Error(messages::CrawlerListMalformed(PathForMessage(path)));
  auto crawlers = std::make_shared<CrawlerList>();
  std::vector<const std::string*> added;  // the crawlers' patterns, in the set's order
  for (const nlohmann::json& entry : list) {
    const auto pattern = entry.is_object() ? entry.find("pattern") : entry.end();
    if (!entry.is_object() || pattern == entry.end() || !pattern->is_string())
      throw Error(messages::CrawlerListMalformed(PathForMessage(path)));
    const std::optional<bool> crawler = IsCrawlerEntry(entry);
    if (!crawler) throw Error(messages::CrawlerListMalformed(PathForMessage(path)));
    const std::string& text = pattern->get_ref<const std::string&>();
    if (!*crawler) continue;
    if (!crawlers->crawlers_.Add(text)) throw Error(messages::CrawlerPatternRefused(PathForMessage(path), text));
    added.push_back(&text);
  }
  if (const std::optional<std::size_t> refused = crawlers->crawlers_.Compile())
    throw Error(messages::CrawlerPatternRefused(PathForMessage(path), *added[*refused]));
  return crawlers;
}

}  // namespace junmaru
