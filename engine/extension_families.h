#pragma once

// The extension families: the kinds of file that the keeper may leave out
// of the ranking, one check box each. This table is the only place that
// describes them: the request filter takes their suffixes from it, the
// settings file their keys and first-start states, both windows their
// check boxes, and the settings record one switch per row. A new family is
// a new row.

#include <array>
#include <cstddef>
#include <string_view>

namespace junmaru {

// A control's place: left and top in its container, width and height,
// pixels at 96 DPI.
struct DesignBox {
  int left, top, width, height;
};

struct ExtensionFamily {
  // The check box's design name, which is also the family's key in the
  // settings file's section "ExtentionFilter".
  std::string_view key;
  // The check box's text (UTF-8); display text only: the suffixes decide.
  const char* caption;
  // The check box's place in the group box of the extension filter.
  DesignBox box;
  // Switched on at the first start, before any settings file exists.
  bool on_at_first_start;
  // The byte endings (two to four bytes) that a switched-on family drops,
  // compared with the path's last bytes case-sensitively; no dot is
  // needed before one.
  std::array<std::string_view, 7> suffixes;
};

// In the window's order, which is also the settings file's.
inline constexpr ExtensionFamily kExtensionFamilies[] = {
    {"CDouga", "動画[ avi mpg mpeg wmv ogm ]", {16, 20, 193, 17}, false, {"avi", "mpg", "mpeg", "wmv", "ogm"}},
    {"COnsei", "音声[ mp3 wma ogg wav mid ]", {16, 40, 193, 17}, false, {"mp3", "wma", "ogg", "wav", "mid"}},
    // "tar" and "7z" stand in the caption but are not dropped.
    {"CSyoko", "圧縮書庫[ lzh zip rar gca cab tar 7z]", {16, 60, 209, 17}, false, {"lzh", "zip", "rar", "gca", "cab"}},
    {"CJpeg", "JPEG画像[ jpg jpeg ]", {16, 80, 201, 17}, false, {"jpg", "jpeg"}},
    // JPEG files too: a JPEG counts only while both image families are off.
    {"CGazou", "その他の画像[ gif png bmp dib ico ]", {16, 100, 209, 17}, true,
     {"jpg", "jpeg", "gif", "ico", "png", "dib", "bmp"}},
    {"CText", "文書[ txt log inf ini rtf ]", {16, 120, 193, 17}, true, {"txt", "log", "inf", "rtf", "ini"}},
    {"CExe", "実行ファイル[ exe ]", {16, 140, 193, 17}, true, {"exe"}},
    // Style sheets too: one counts only while both this and CCss are off.
    {"CHtml", "HTML関連[ html htm php ]", {16, 160, 217, 21}, true, {"htm", "php", "css", "html"}},
    {"CCss", "スタイルシート[ css ]", {16, 180, 217, 21}, true, {"css"}},
    // "cgi?" is a CGI path with an empty query; "pl" is two bytes.
    {"CCgi", "CGI関連[ cgi pl dat ]", {16, 200, 217, 21}, true, {"pl", "cgi", "cgi?", "dat"}},
};

inline constexpr std::size_t kFamilyCount = std::size(kExtensionFamilies);

// Every family has a key of its own and one to seven suffixes of two to
// four bytes (the request filter compares the path's last two, three and
// four bytes).
constexpr bool FamiliesAreWellFormed() {
  for (std::size_t i = 0; i < kFamilyCount; ++i) {
    if (kExtensionFamilies[i].key.empty() || kExtensionFamilies[i].suffixes[0].empty()) return false;
    for (std::size_t j = 0; j < i; ++j)
      if (kExtensionFamilies[j].key == kExtensionFamilies[i].key) return false;
    for (std::size_t k = 0; k < kExtensionFamilies[i].suffixes.size(); ++k) {
      const std::size_t bytes = kExtensionFamilies[i].suffixes[k].size();
      if (bytes == 1 || bytes > 4) return false;
    }
  }
  return true;
}
static_assert(FamiliesAreWellFormed());

// One switch per family, in the table's order: on drops the family.
using FamilySwitches = std::array<bool, kFamilyCount>;

constexpr FamilySwitches FamiliesAtFirstStart() {
  FamilySwitches on{};
  for (std::size_t i = 0; i < kFamilyCount; ++i) on[i] = kExtensionFamilies[i].on_at_first_start;
  return on;
}

}  // namespace junmaru
