#include "buttons.h"

#include <algorithm>

#include "label.h"

namespace junmaru::win32 {
namespace {

HBRUSH FaceColours(HDC dc) {
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  return GetSysColorBrush(COLOR_BTNFACE);
}

}  // namespace

PushButton::PushButton(HWND parent, int id, Box design, int font_height, const std::string& caption)
    : Control(CreateChild(parent, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, caption, id), design,
              font_height) {}

void PushButton::OnCommand(int code) {
  if (code == BN_CLICKED) Press();
}

void PushButton::Press() {
  if (Enabled() && on_click) on_click();
}

CheckBox::CheckBox(HWND parent, int id, Box design, int font_height, const std::string& caption, bool checked,
                   int max_width)
    : Control(CreateChild(parent, "BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 0, caption, id),
              design, font_height),
      max_width_(max_width) {
  SendMessageA(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::Checked() const { return SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool checked) {
  if (checked == Checked()) return;
  SendMessageA(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (on_click) on_click();
}

void CheckBox::OnCommand(int code) {
  // BS_AUTOCHECKBOX has already toggled the state when the click arrives.
  if (code == BN_CLICKED && on_click) on_click();
}

HBRUSH CheckBox::Colours(HDC dc) { return FaceColours(dc); }

void CheckBox::Place(int dpi) {
  // The box, the gap after it and the caption, as the control lays them out.
  const int glyph = GetSystemMetricsForDpi(SM_CXMENUCHECK, static_cast<UINT>(dpi)) + Scaled(4, dpi);
  const int needed = glyph + TextWidth(hwnd_, WindowText(hwnd_));
  const int width = std::clamp(needed, Scaled(design_.width, dpi), Scaled(std::max(max_width_, design_.width), dpi));
  SetWindowPos(hwnd_, nullptr, Scaled(design_.left, dpi), Scaled(design_.top, dpi), width,
               Scaled(design_.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
}

GroupBox::GroupBox(HWND parent, int id, Box design, int font_height, const std::string& caption)
    : Control(CreateChild(parent, "BUTTON", BS_GROUPBOX | WS_CLIPSIBLINGS, 0, caption, id), design, font_height) {}

HBRUSH GroupBox::Colours(HDC dc) { return FaceColours(dc); }

}  // namespace junmaru::win32
