#pragma once

// Static texts: a label whose width follows its text (a longer date or
// line count is never cut off; the design width holds until the first
// change), the sunken white path displays of fixed size, and the status
// line, whose background is the normal or the error colour.

#include <windows.h>
#include <commctrl.h>

#include "control.h"

namespace junmaru::win32 {

class Label : public Control {
 public:
  enum class Width { kFollowsText, kFixed };

  Label(HWND parent, int id, Box design, int font_height, const std::string& caption, Width width = Width::kFollowsText,
        DWORD extra_style = 0, DWORD ex_style = 0);
  ~Label() override;

  // The caption as the program set it (the control would give back some
  // code page 932 bytes changed, see KeptTexts).
  const std::string& Caption() const { return caption_; }
  // Setting the text that the label already shows changes nothing.
  void SetCaption(const std::string& cp932);

  HBRUSH Colours(HDC dc) override;
  // A label that follows its text takes the text's width in its font.
  void Place(int dpi) override;

 protected:
  // The background; the button face unless a kind says otherwise.
  virtual COLORREF Background() const { return GetSysColor(COLOR_BTNFACE); }

 private:
  std::string caption_;
  Width width_;
  HBRUSH brush_ = nullptr;
  COLORREF brush_colour_ = 0;
};

class PathText : public Label {
 public:
  PathText(HWND parent, int id, Box design, int font_height, const std::string& caption);

 protected:
  COLORREF Background() const override { return RGB(255, 255, 255); }
};

// The status line grows with its text up to its room (design pixels); a
// longer text is drawn shortened in the middle, as a path is, and shown
// whole as a tooltip. Its window text, which a screen reader reads, stays
// whole.
class StatusLine : public Label {
 public:
  StatusLine(HWND parent, int id, Box design, int font_height, const std::string& caption, int room);
  ~StatusLine() override;

  bool ShowsError() const { return error_; }
  void SetErrorColour(bool error);
  void Place(int dpi) override;
  // The tooltip's text: the whole caption while it does not fit, else none.
  std::string TipText() const;

 protected:
  COLORREF Background() const override;

 private:
  // The tooltip's description of the status line, showing text.
  TTTOOLINFOA Tool(char* text) const;

  int room_;
  HWND tip_;
  bool error_ = false;
};

// What a screen reader announces for the control created next: a static
// text that is never shown. A screen reader names an edit, a spin edit or
// a memo by the static text that precedes it in the window's order (the
// order of creation), so this one stands just before its control.
class AccessibleName : public Control {
 public:
  AccessibleName(HWND parent, int id, Box design, int font_height, const std::string& name);
};

// The caption's width in device pixels in the control's font.
int TextWidth(HWND control, const std::string& cp932);

}  // namespace junmaru::win32
