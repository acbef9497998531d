// Three fuzzed texts: the comparison must stay a strict weak ordering and
// agree with the fold.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "text_compare.h"

namespace {
int Sign(int v) { return (v > 0) - (v < 0); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace junmaru;
  const std::string_view all(reinterpret_cast<const char*>(data), size);
  // The texts are separated by "|".
  std::string_view texts[3];
  std::size_t start = 0;
  for (int i = 0; i < 3; ++i) {
    std::size_t bar = all.find('|', start);
    texts[i] = all.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start);
    start = bar == std::string_view::npos ? all.size() : bar + 1;
  }
  const auto& [a, b, c] = texts;
  const int ab = Sign(CompareText(a, b)), bc = Sign(CompareText(b, c)), ac = Sign(CompareText(a, c));
  if (CompareText(a, a) != 0) std::abort();
  if (ab != -Sign(CompareText(b, a))) std::abort();
  if (ab != Sign(FoldText(a).compare(FoldText(b)))) std::abort();
  if ((ab == 0) != EqualText(a, b)) std::abort();
  if (ab <= 0 && bc <= 0 && ac > 0) std::abort();
  if (ab == 0 && bc == 0 && ac != 0) std::abort();
  return 0;
}
