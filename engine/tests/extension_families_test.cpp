// Every row of the family table, as the request filter uses it: a family
// is made by its row alone.

#include "extension_families.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "request_filter.h"

namespace junmaru {
namespace {

RunSettings OnlyFamily(std::size_t family) {
  RunSettings settings;
  settings.Families.fill(false);
  settings.Families[family] = true;
  return settings;
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// Switched on alone, a family drops a path that ends with any of its
// suffixes, and only with the suffix's exact bytes; with every family off
// the same path counts.
TEST(ExtensionFamilies, EachFamilyAloneDropsExactlyItsSuffixes) {
  RunSettings none;
  none.Families.fill(false);
  const RequestFilter keeps_all(none);
  for (std::size_t i = 0; i < kFamilyCount; ++i) {
    const ExtensionFamily& family = kExtensionFamilies[i];
    SCOPED_TRACE(std::string(family.key));
    const RequestFilter filter(OnlyFamily(i));
    for (std::string_view suffix : family.suffixes) {
      if (suffix.empty()) continue;
      const std::string path = "/dl/file." + std::string(suffix);
      EXPECT_TRUE(filter.Drops(path)) << path;
      EXPECT_FALSE(keeps_all.Drops(path)) << path;
      // Another letter case is another ending, unless some suffix of the family spells it.
      const std::string upper = "/dl/file." + Upper(suffix);
      bool spelled = false;
      for (std::string_view other : family.suffixes) spelled |= !other.empty() && upper.ends_with(other);
      EXPECT_EQ(filter.Drops(upper), spelled) << upper;
    }
    EXPECT_FALSE(filter.Drops("/dl/file.qqq")) << "drops only its suffixes";
  }
}

}  // namespace
}  // namespace junmaru
