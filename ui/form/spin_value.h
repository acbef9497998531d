#pragma once

// The value rules of a spin edit, apart from any widget: how its text reads
// as a number and how a number set by the program is brought within limits.

#include <cstdint>
#include <string_view>

namespace junmaru::form {

// How typed input is treated by a spin edit: kNumber takes digits, signs,
// the decimal separator and control characters other than Enter;
// kStepOnly refuses every typed character, so that only the arrows step.
enum class SpinTyping { kNumber, kStepOnly };

// The text read as an optionally signed decimal integer. Anything that is
// not such a number, or does not fit in 32 bits, reads as `minimum`. The
// result is not clamped to the limits.
std::int32_t SpinValueOf(std::string_view text, std::int32_t minimum);

// A value set by the program: below the minimum gives the minimum, above
// the maximum the maximum. Equal limits take the value unchanged.
std::int64_t ClampSpinValue(std::int64_t value, std::int32_t minimum, std::int32_t maximum);

// True when a value read from the text lies outside the limits, so that
// leaving the edit should set it again (equal limits accept any value).
bool SpinValueOutside(std::int64_t value, std::int32_t minimum, std::int32_t maximum);

}  // namespace junmaru::form
