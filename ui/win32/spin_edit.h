#pragma once

// An edit with an up-down control beside it that holds an integer as text.
//
// The value is the text read as a decimal integer (the minimum when it is
// not one); setting a value clamps it to the limits and writes it as text;
// the up-down buttons and the Up/Down keys step by the increment; leaving
// the edit with a value outside the limits sets it again. on_change runs
// on every real change of the text, by the user or by the program. The
// wheel and the Page keys change nothing. A text wider than the box (a
// wide value in a narrow design box) is drawn in a smaller font, so that
// every digit shows.

#include <cstdint>
#include <functional>

#include "control.h"
#include "spin_typing.h"

namespace junmaru::win32 {

class SpinEdit : public Control {
 public:
  // id is the edit's; the up-down control takes id + 1.
  SpinEdit(HWND parent, int id, Box design, int font_height, SpinTyping typing);
  ~SpinEdit() override;

  std::function<void()> on_change;

  std::int32_t Value() const;
  void SetValue(std::int64_t value);
  std::int32_t MinValue() const { return minimum_; }
  std::int32_t MaxValue() const { return maximum_; }
  void SetMinValue(std::int32_t minimum) { minimum_ = minimum; }
  void SetMaxValue(std::int32_t maximum) { maximum_ = maximum; }
  void SetIncrement(std::int32_t increment) { increment_ = increment; }
  void SetSelectOnFocus(bool select) { select_on_focus_ = select; }
  void StepBy(int steps);

  std::string Text() const { return WindowText(hwnd_); }
  // Setting the text that the edit already holds changes nothing.
  void SetText(const std::string& cp932);

  HWND UpDown() const { return up_down_; }
  SpinTyping Typing() const { return typing_; }

  void Place(int dpi) override;
  void SetFont(HFONT font) override;
  void SetEnabled(bool enabled) override;
  void OnCommand(int code) override;
  LRESULT OnNotify(const NMHDR& header) override;
  bool SelectsOnTabFocus() const override { return select_on_focus_; }

  // The edit's keyboard: the typing rules and the arrow keys.
  LRESULT EditMessage(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void Refuse() const;
  // Draws the text in the window's font, or in the largest smaller one in
  // which it fits the box (down to half the window's font).
  void FitText();
  // Draws in font, from the text's first character.
  void Draw(HFONT font);

  SpinTyping typing_;
  HWND up_down_;
  std::int32_t minimum_ = 0;
  std::int32_t maximum_ = 100;
  std::int32_t increment_ = 1;
  bool select_on_focus_ = true;
  bool setting_text_ = false;
  char decimal_separator_ = '.';
  int dpi_ = 96;
  HFONT window_font_ = nullptr;  // the window's, not ours
  HFONT smaller_font_ = nullptr;  // ours, while the text needs it
};

}  // namespace junmaru::win32
