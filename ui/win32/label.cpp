#include "label.h"

#include <commctrl.h>

#include "colour_ref.h"

namespace junmaru::win32 {

int TextWidth(HWND control, const std::string& cp932) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32A(dc, cp932.data(), static_cast<int>(cp932.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return size.cx;
}

Label::Label(HWND parent, int id, Box design, int font_height, const std::string& caption, Width width,
             DWORD extra_style, DWORD ex_style)
    // A design caption's "&" underlines the letter whose Alt key moves the
    // focus to the control after the label; any other text shows "&" as it is.
    : Control(CreateChild(parent, "STATIC",
                          SS_LEFTNOWORDWRAP | (caption.find('&') == std::string::npos ? SS_NOPREFIX : 0) | extra_style,
                          ex_style, caption, id),
              design, font_height),
      caption_(caption),
      width_(width) {}

AccessibleName::AccessibleName(HWND parent, int id, Box design, int font_height, const std::string& name)
    : Control(CreateWindowExA(0, "STATIC", name.c_str(), WS_CHILD | SS_NOPREFIX, 0, 0, 0, 0, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr),
              design, font_height) {}

Label::~Label() {
  if (brush_) DeleteObject(brush_);
}

void Label::SetCaption(const std::string& cp932) {
  if (cp932 == caption_) return;
  caption_ = cp932;
  SetWindowTextA(hwnd_, cp932.c_str());
  if (width_ == Width::kFollowsText) Place(static_cast<int>(GetDpiForWindow(hwnd_)));
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Label::Place(int dpi) {
  if (width_ == Width::kFollowsText) {
    SetWindowPos(hwnd_, nullptr, Scaled(design_.left, dpi), Scaled(design_.top, dpi), TextWidth(hwnd_, Caption()),
                 Scaled(design_.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    Control::Place(dpi);
  }
}

HBRUSH Label::Colours(HDC dc) {
  const COLORREF colour = Background();
  if (!brush_ || brush_colour_ != colour) {
    if (brush_) DeleteObject(brush_);
    brush_ = CreateSolidBrush(colour);
    brush_colour_ = colour;
  }
  SetBkColor(dc, colour);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  return brush_;
}

PathText::PathText(HWND parent, int id, Box design, int font_height, const std::string& caption)
    : Label(parent, id, design, font_height, caption, Width::kFixed, SS_CENTERIMAGE, WS_EX_STATICEDGE) {}

StatusLine::StatusLine(HWND parent, int id, Box design, int font_height, const std::string& caption, int room)
    : Label(parent, id, design, font_height, caption, Width::kFollowsText, SS_PATHELLIPSIS | SS_NOTIFY),
      room_(room),
      tip_(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0,
                           0, 0, parent, nullptr, reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)),
                           nullptr)) {
  char none[] = "";
  TTTOOLINFOA tool = Tool(none);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  SendMessageA(tip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageA(tip_, TTM_SETMAXTIPWIDTH, 0, 600);
}

StatusLine::~StatusLine() { DestroyWindow(tip_); }

TTTOOLINFOA StatusLine::Tool(char* text) const {
  TTTOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = GetParent(hwnd_);
  tool.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  tool.lpszText = text;
  return tool;
}

void StatusLine::Place(int dpi) {
  Label::Place(dpi);
  const int room = Scaled(room_, dpi);
  const bool fits = TextWidth(hwnd_, Caption()) <= room;
  if (!fits) {
    SetWindowPos(hwnd_, nullptr, 0, 0, room, Scaled(design_.height, dpi), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  std::string tip = fits ? std::string() : Caption();
  TTTOOLINFOA tool = Tool(tip.data());
  SendMessageA(tip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageA(tip_, TTM_ACTIVATE, fits ? FALSE : TRUE, 0);
}

std::string StatusLine::TipText() const {
  char text[4096] = {};
  TTTOOLINFOA tool = Tool(text);
  SendMessageA(tip_, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
  return text;
}

void StatusLine::SetErrorColour(bool error) {
  if (error == error_) return;
  error_ = error;
  InvalidateRect(hwnd_, nullptr, TRUE);
}

COLORREF StatusLine::Background() const {
  // The window's colour integers are COLORREFs already.
  return error_ ? static_cast<COLORREF>(junmaru::form::colours::kError) : GetSysColor(COLOR_BTNFACE);
}

}  // namespace junmaru::win32
