#include "buttons.h"

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

CheckBox::CheckBox(HWND parent, int id, Box design, int font_height, const std::string& caption, bool checked)
    : Control(CreateChild(parent, "BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 0, caption, id),
              design, font_height) {
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

GroupBox::GroupBox(HWND parent, int id, Box design, int font_height, const std::string& caption)
    : Control(CreateChild(parent, "BUTTON", BS_GROUPBOX | WS_CLIPSIBLINGS, 0, caption, id), design, font_height) {}

HBRUSH GroupBox::Colours(HDC dc) { return FaceColours(dc); }

}  // namespace junmaru::win32
