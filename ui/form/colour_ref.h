#pragma once

#include <cstdint>

#include "run_view.h"

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

// The window's colours, as platform colour integers.
namespace colours {
constexpr std::uint32_t kWhite = 0xFFFFFF;     // the gauge during and after a run; Prefix while enabled
constexpr std::uint32_t kGaugeIdle = 13421772;  // #CCCCCC: the gauge between runs; Prefix while disabled
constexpr std::uint32_t kGaugeBar = 16764074;   // #AACCFF, light blue
constexpr std::uint32_t kError = 10066431;      // #FF9999: the status line's error colour
}  // namespace colours

// The gauge's background colour for what the run says of it.
constexpr std::uint32_t GaugeColour(junmaru::GaugeBackground background) {
  return background == junmaru::GaugeBackground::kRunning ? colours::kWhite : colours::kGaugeIdle;
}

}  // namespace junmaru::form
