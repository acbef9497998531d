#include "request_filter.h"

#include <array>
#include <cstring>

#include "byte_string.h"

namespace junmaru {
namespace {

constexpr std::string_view kGetMarker = "\"GET";
constexpr std::string_view kHttp11Marker = "HTTP/1.1\"";
constexpr std::string_view kHttp10Marker = "HTTP/1.0\"";

// The extension categories in testing order, each with its suffixes in
// testing order. A suffix is a byte ending; no dot is needed before it.
struct Category {
  bool RunSettings::*on;
  std::array<std::string_view, 7> suffixes;
};
constexpr std::array<Category, 10> kCategories{{
    {&RunSettings::CDouga, {"avi", "mpg", "mpeg", "wmv", "ogm"}},
    {&RunSettings::COnsei, {"mp3", "wma", "ogg", "wav", "mid"}},
    {&RunSettings::CJpeg, {"jpg", "jpeg"}},
    {&RunSettings::CGazou, {"jpg", "jpeg", "gif", "ico", "png", "dib", "bmp"}},
    {&RunSettings::CSyoko, {"lzh", "zip", "rar", "gca", "cab"}},
    {&RunSettings::CText, {"txt", "log", "inf", "rtf", "ini"}},
    {&RunSettings::CExe, {"exe"}},
    {&RunSettings::CHtml, {"htm", "php", "css", "html"}},
    {&RunSettings::CCss, {"css"}},
    {&RunSettings::CCgi, {"pl", "cgi", "cgi?", "dat"}},
}};

std::size_t Find(std::string_view line, std::string_view marker) {
  const void* hit = memmem(line.data(), line.size(), marker.data(), marker.size());
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - line.data()) : std::string_view::npos;
}

}  // namespace

RequestFilter::RequestFilter(const RunSettings& settings) {
  for (const Category& category : kCategories) {
    if (!(settings.*category.on)) continue;
    for (std::string_view suffix : category.suffixes)
      if (!suffix.empty()) suffixes_.push_back(suffix);
  }
  for (const std::string& word : settings.Marukin)
    if (!word.empty()) words_.push_back(word);
}

std::optional<std::string_view> RequestFilter::DownloadPath(std::string_view line) {
  // The HTTP/1.1 marker wins wherever it stands; HTTP/1.0 only without it.
  std::size_t e = Find(line, kHttp11Marker);
  if (e == std::string_view::npos) e = Find(line, kHttp10Marker);
  if (e == std::string_view::npos) return std::nullopt;
  std::size_t g = Find(line, kGetMarker);
  if (g == std::string_view::npos) return std::nullopt;
  // Skip the quote, "GET" and the byte after it; leave out the byte before
  // the marker. Neither byte is tested for being a space.
  if (e < g + 6) return std::string_view{};
  return line.substr(g + 5, e - g - 6);
}

bool RequestFilter::Drops(std::string_view path) const {
  if (RightBytes(path, 5).find('.') == std::string_view::npos) return true;  // no extension
  if (StartsWithBytes(path, "http://")) return true;                          // absolute address
  if (EndsWithBytes(path, "ida")) return true;                                // worm probes
  if (EndsWithBytes(path, "/")) return true;                                  // directory
  for (std::string_view suffix : suffixes_)
    if (EndsWithBytes(path, suffix)) return true;
  for (const std::string& word : words_)
    if (BytePos(word, path) != 0) return true;
  return false;
}

}  // namespace junmaru
