// The program's text comparison against Windows' own collation, which it
// stands in for: CompareStringA with the user's locale (Japanese here) and
// NORM_IGNORECASE, over every character of code page 932. Both must put
// the same characters together as equal; the few places where they differ
// on purpose are listed below, and any other difference fails.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "cp932.h"
#include "text_compare.h"

namespace junmaru {
namespace {

// Every character the code page maps, as its bytes (NUL left out: it ends
// a text for CompareStringA's callers).
std::vector<std::string> EveryCharacter() {
  std::vector<std::string> all;
  for (unsigned b = 1; b < 256; ++b)
    if (!IsLeadByte(static_cast<unsigned char>(b)) && SingleByteCodePoint(static_cast<unsigned char>(b)) != kNoCodePoint)
      all.push_back(std::string(1, static_cast<char>(b)));
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead)
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail)
      if (DoubleByteCodePoint(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)) != kNoCodePoint)
        all.push_back({static_cast<char>(lead), static_cast<char>(trail)});
  return all;
}

int WindowsCompare(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) -
         CSTR_EQUAL;
}

// A set of characters that one side holds equal and the other does not
// (all of them together, in byte order, for a stable comparison).
using Group = std::set<std::string>;

std::string Show(const Group& group) {
  std::string shown;
  for (const auto& c : group) {
    char hex[8];
    std::snprintf(hex, sizeof hex, c.size() == 1 ? "%02X" : "%02X%02X", static_cast<unsigned char>(c[0]),
                  c.size() > 1 ? static_cast<unsigned char>(c[1]) : 0);
    shown += std::string(shown.empty() ? "" : " ") + hex + "(" + Cp932ToUtf8(c) + ")";
  }
  return shown;
}

struct Differences {
  std::set<Group> equal_only_on_windows;  // one Windows class, several of ours
  std::set<Group> equal_only_here;        // one class of ours, several Windows classes
};

Differences Compare() {
  std::vector<std::string> chars = EveryCharacter();
  std::stable_sort(chars.begin(), chars.end(),
                   [](const std::string& a, const std::string& b) { return WindowsCompare(a, b) < 0; });
  Differences found;
  // Windows' classes are runs of the sorted characters.
  std::map<std::string, int> run_of;
  int run = 0;
  for (std::size_t i = 0; i < chars.size();) {
    std::size_t end = i + 1;
    while (end < chars.size() && WindowsCompare(chars[i], chars[end]) == 0) ++end;
    std::set<std::string> keys;
    Group members;
    for (std::size_t k = i; k < end; ++k) {
      keys.insert(FoldText(chars[k]));
      members.insert(chars[k]);
      run_of[chars[k]] = run;
    }
    if (keys.size() > 1) found.equal_only_on_windows.insert(members);
    ++run;
    i = end;
  }
  std::map<std::string, Group> ours;
  for (const auto& c : chars) ours[FoldText(c)].insert(c);
  for (const auto& [key, members] : ours) {
    std::set<int> runs;
    for (const auto& c : members) runs.insert(run_of[c]);
    if (runs.size() > 1) found.equal_only_here.insert(members);
  }
  return found;
}

Group Chars(std::initializer_list<const char*> utf8) {
  Group group;
  for (const char* c : utf8) group.insert(Utf8ToCp932(c));
  return group;
}

// Where the system's collation makes characters equal that this program
// keeps apart, on purpose: the comparison ignores letter case and nothing
// else, so that paths the site serves as different files are counted apart.
std::set<Group> DeliberatelyDistinct() {
  return {
      // The voiced and semi-voiced sound marks: Windows ignores their width
      // even without NORM_IGNOREWIDTH; here half-width forms stay distinct.
      Chars({"゛", "ﾞ"}),
      Chars({"゜", "ﾟ"}),
      // Iteration and prolonged-sound marks, which Windows weighs by the
      // character before them; standing alone they all compare equal there.
      Chars({"ヽ", "ヾ", "ゝ", "ゞ", "々", "ー", "―", "ｰ"}),
  };
}

TEST(Collation, DiffersFromCompareStringAOnlyWhereListed) {
  ASSERT_EQ(GetACP(), 932u) << "run with a Japanese locale (LANG=ja_JP.UTF-8 under Wine)";
  const Differences found = Compare();
  for (const auto& g : found.equal_only_here) ADD_FAILURE() << "equal here, not on Windows: " << Show(g);
  const std::set<Group> listed = DeliberatelyDistinct();
  for (const auto& g : found.equal_only_on_windows)
    if (!listed.count(g)) ADD_FAILURE() << "equal on Windows, not here, and not listed: " << Show(g);
  for (const auto& g : listed)
    if (!found.equal_only_on_windows.count(g)) ADD_FAILURE() << "listed, but no longer a difference: " << Show(g);
}

}  // namespace
}  // namespace junmaru
