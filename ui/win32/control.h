#pragma once

// One child window of the main window, at its design place. The design
// coordinates are pixels at 96 dots per inch in the client area; Place
// scales them to the window's current DPI, so that a change of display
// density (or a start on a 150 % display) lays the window out again.

#include <windows.h>

#include <string>

namespace junmaru::win32 {

struct Box {
  int left, top, width, height;
};

// Design pixels at 96 DPI to device pixels at dpi, rounded to nearest.
inline int Scaled(int design_pixels, int dpi) { return MulDiv(design_pixels, dpi, 96); }

class Control {
 public:
  Control(HWND hwnd, Box design, int font_height) : hwnd_(hwnd), design_(design), font_height_(font_height) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  HWND Handle() const { return hwnd_; }
  int FontHeight() const { return font_height_; }
  const Box& Design() const { return design_; }

  // Moves the control to its design place at dpi.
  virtual void Place(int dpi);
  // The window's font for this control at the current DPI.
  virtual void SetFont(HFONT font);
  // WM_COMMAND notifications sent by this control.
  virtual void OnCommand(int /*code*/) {}
  // WM_NOTIFY sent by this control (or a part of it); the result to return.
  virtual LRESULT OnNotify(const NMHDR& /*header*/) { return 0; }
  // The brush and colours for WM_CTLCOLOR*; nullptr leaves the default.
  virtual HBRUSH Colours(HDC /*dc*/) { return nullptr; }
  // Whether reaching the control by Tab selects its whole text.
  virtual bool SelectsOnTabFocus() const { return false; }

  bool Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }
  virtual void SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled ? TRUE : FALSE); }

 protected:
  HWND hwnd_;
  Box design_;
  int font_height_;
};

// The text of a window, as code page 932 bytes (the ANSI functions pass
// them through unchanged on a Japanese system).
std::string WindowText(HWND hwnd);

// Creates a child window of parent with the given class, style and text;
// its place is set later by Control::Place.
HWND CreateChild(HWND parent, const char* window_class, DWORD style, DWORD ex_style, const std::string& text,
                 int id);

}  // namespace junmaru::win32
