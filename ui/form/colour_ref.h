#pragma once

#include <cstdint>

namespace junmaru::form {

// A platform colour integer keeps red in the low byte and blue in the high one.
struct Rgb {
  int red;
  int green;
  int blue;
};

constexpr Rgb RgbOf(std::uint32_t colour_ref) {
  return {static_cast<int>(colour_ref & 0xFF), static_cast<int>((colour_ref >> 8) & 0xFF),
          static_cast<int>((colour_ref >> 16) & 0xFF)};
}

// Window colours that the run does not name.
constexpr std::uint32_t kGaugeBar = 16764074;  // #AACCFF, light blue

}  // namespace junmaru::form
