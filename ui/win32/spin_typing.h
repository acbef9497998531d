#pragma once

// What a spin edit does with a character typed into it (a WM_CHAR code in
// the ANSI code page), apart from any window.

#include "spin_value.h"

namespace junmaru::win32 {

using SpinTyping = junmaru::form::SpinTyping;

enum class CharAction {
  kAccept,  // the edit takes it
  kRefuse,  // dropped with a beep
  kIgnore,  // dropped silently (paste, cut and undo of a step-only edit)
};

constexpr bool IsControlChar(unsigned char c) { return c < 0x20 || c == 0x7F; }

constexpr CharAction SpinCharAction(SpinTyping typing, unsigned char c, char decimal_separator) {
  constexpr unsigned char kCtrlA = 0x01, kCtrlC = 0x03, kCtrlV = 0x16, kCtrlX = 0x18, kCtrlZ = 0x1A;
  if (typing == SpinTyping::kStepOnly) {
    if (c == kCtrlC || c == kCtrlA) return CharAction::kAccept;  // copy and select all change nothing
    if (c == kCtrlV || c == kCtrlX || c == kCtrlZ) return CharAction::kIgnore;
    return CharAction::kRefuse;  // Backspace too
  }
  if (c == '\r' || c == '\n') return CharAction::kRefuse;
  if (IsControlChar(c)) return CharAction::kAccept;
  if ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == static_cast<unsigned char>(decimal_separator)) {
    return CharAction::kAccept;
  }
  return CharAction::kRefuse;
}

}  // namespace junmaru::win32
