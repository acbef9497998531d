#pragma once

// Push buttons, check boxes and group boxes.

#include <functional>

#include "control.h"

namespace junmaru::win32 {

class PushButton : public Control {
 public:
  // The caption's "&" underlines the next letter; Alt plus that letter
  // presses the button from any control (through IsDialogMessageA).
  PushButton(HWND parent, int id, Box design, int font_height, const std::string& caption);

  std::function<void()> on_click;
  // Clicked by mouse, Space, Enter while focused, or its Alt key.
  void OnCommand(int code) override;
  // Presses the button as a click does, when it is enabled.
  void Press();
};

// A check box is checked or unchecked; on_click runs on every change of
// its state, whether the user or the program changed it, and never when a
// set leaves the state as it was. A caption wider than the design width
// (a stand-in font may be wider than the design's) widens the box up to
// max_width, the room left in its group box, so that it is seen whole.
class CheckBox : public Control {
 public:
  CheckBox(HWND parent, int id, Box design, int font_height, const std::string& caption, bool checked,
           int max_width);

  std::function<void()> on_click;
  bool Checked() const;
  void SetChecked(bool checked);
  void OnCommand(int code) override;
  HBRUSH Colours(HDC dc) override;
  void Place(int dpi) override;

 private:
  int max_width_;
};

class GroupBox : public Control {
 public:
  GroupBox(HWND parent, int id, Box design, int font_height, const std::string& caption);
  HBRUSH Colours(HDC dc) override;
};

}  // namespace junmaru::win32
