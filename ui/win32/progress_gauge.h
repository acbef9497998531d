#pragma once

// A horizontal progress bar from 0 to 1000 that shows the whole percentage
// centred on it. It redraws itself at once, and only, when the shown
// percentage changes, so a run may set it after every log line. A screen
// reader meets it as a progress bar whose value is that percentage
// (gauge_accessible.h), and hears of each change.

#include <cstdint>
#include <string>

#include "control.h"

namespace junmaru::win32 {

class ProgressGauge : public Control {
 public:
  // name: what a screen reader calls it, kept as the window's text (which
  // the gauge does not draw).
  ProgressGauge(HWND parent, int id, Box design, int font_height, const std::string& name);

  std::int64_t Progress() const { return progress_; }
  // Clamped to 0..1000.
  void SetProgress(long long progress);
  int Percent() const;
  std::uint32_t BackColour() const { return back_colour_; }
  void SetBackColour(std::uint32_t colour_ref);

  // How many times the gauge has drawn itself.
  int PaintCount() const { return paint_count_; }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void Paint(HDC dc, const RECT& frame);

  std::int64_t progress_ = 0;
  std::uint32_t back_colour_;
  std::uint32_t bar_colour_;
  int paint_count_ = 0;
};

}  // namespace junmaru::win32
