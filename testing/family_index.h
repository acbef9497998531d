#pragma once

#include <stdexcept>
#include <string_view>

#include "extension_families.h"

namespace junmaru::testing {

// The place of the family with this key in the family table; a key that
// names no family does not compile.
consteval std::size_t FamilyIndex(std::string_view key) {
  for (std::size_t i = 0; i < kFamilyCount; ++i)
    if (kExtensionFamilies[i].key == key) return i;
  throw std::logic_error("no extension family has this key");
}

}  // namespace junmaru::testing
