#pragma once

#include <cstdint>
#include <string>

namespace junmaru::form {

// The gauge runs from 0 to 1000; anything outside is taken as the nearer end.
constexpr std::int64_t kGaugeMax = 1000;

constexpr std::int64_t ClampProgress(std::int64_t progress) {
  return progress < 0 ? 0 : (progress > kGaugeMax ? kGaugeMax : progress);
}

// The whole percentage shown for a clamped progress, rounded down.
constexpr int GaugePercent(std::int64_t clamped_progress) {
  return static_cast<int>(clamped_progress * 100 / kGaugeMax);
}

// "99%" and the like.
inline std::string GaugeText(int percent) { return std::to_string(percent) + "%"; }

}  // namespace junmaru::form
