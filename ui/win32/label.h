#pragma once

// Static texts: a label whose width follows its text (a longer date or
// line count is never cut off; the design width holds until the first
// change), the sunken white path displays of fixed size, and the status
// line, whose background is the normal or the error colour.

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

class StatusLine : public Label {
 public:
  StatusLine(HWND parent, int id, Box design, int font_height, const std::string& caption);

  bool ShowsError() const { return error_; }
  void SetErrorColour(bool error);

 protected:
  COLORREF Background() const override;

 private:
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
