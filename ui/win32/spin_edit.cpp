#include "spin_edit.h"

#include <commctrl.h>
#include <imm.h>

#include <string>

#include "spin_value.h"

namespace junmaru::win32 {
namespace {

// The up-down buttons' width at 96 DPI, inside the design width.
constexpr int kButtonWidth = 16;
// The space between the text and the edit's border at 96 DPI, each side:
// none beyond the edit's own pixel; the font's margins would hide a digit
// of a wide value in the narrow design boxes.
constexpr int kTextMargin = 0;
// A text is never drawn smaller than this share of the window's font.
constexpr int kSmallestPercent = 50;

LRESULT CALLBACK SpinEditKeys(HWND, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR self) {
  return reinterpret_cast<SpinEdit*>(self)->EditMessage(message, wparam, lparam);
}

char LocaleDecimalSeparator() {
  char separator[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) > 1) return separator[0];
  return '.';
}

}  // namespace

SpinEdit::SpinEdit(HWND parent, int id, Box design, int font_height, SpinTyping typing)
    : Control(CreateChild(parent, "EDIT", ES_AUTOHSCROLL | ES_LEFT | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE,
                          std::string(), id),
              design, font_height),
      typing_(typing),
      up_down_(CreateChild(parent, UPDOWN_CLASSA, UDS_HOTTRACK, 0, std::string(), id + 1)),
      decimal_separator_(LocaleDecimalSeparator()) {
  // The up-down control keeps a position of its own only so that both of
  // its buttons always work; the value lives in the edit's text.
  SendMessageA(up_down_, UDM_SETRANGE32, 0, 2);
  SendMessageA(up_down_, UDM_SETPOS32, 0, 1);
  // Digits only: an input method would bypass the typing rules.
  ImmAssociateContext(hwnd_, nullptr);
  SetWindowSubclass(hwnd_, SpinEditKeys, 0, reinterpret_cast<DWORD_PTR>(this));
}

SpinEdit::~SpinEdit() {
  if (smaller_font_) DeleteObject(smaller_font_);
}

std::int32_t SpinEdit::Value() const { return junmaru::form::SpinValueOf(Text(), minimum_); }

void SpinEdit::SetValue(std::int64_t value) {
  SetText(std::to_string(junmaru::form::ClampSpinValue(value, minimum_, maximum_)));
}

void SpinEdit::StepBy(int steps) {
  SetValue(static_cast<std::int64_t>(Value()) + static_cast<std::int64_t>(steps) * increment_);
}

void SpinEdit::SetText(const std::string& cp932) {
  if (cp932 == Text()) return;
  setting_text_ = true;
  SetWindowTextA(hwnd_, cp932.c_str());
  setting_text_ = false;
  FitText();
  if (on_change) on_change();
}

void SpinEdit::Place(int dpi) {
  const int left = Scaled(design_.left, dpi);
  const int top = Scaled(design_.top, dpi);
  const int width = Scaled(design_.width, dpi);
  const int height = Scaled(design_.height, dpi);
  const int buttons = Scaled(kButtonWidth, dpi);
  SetWindowPos(hwnd_, nullptr, left, top, width - buttons, height, SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(up_down_, nullptr, left + width - buttons, top, buttons, height, SWP_NOZORDER | SWP_NOACTIVATE);
  dpi_ = dpi;
  FitText();
}

void SpinEdit::SetFont(HFONT font) {
  window_font_ = font;
  FitText();
}

void SpinEdit::Draw(HFONT font) {
  if (reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)) == font) return;
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  // A new font brings the font's own margins back.
  const int margin = Scaled(kTextMargin, dpi_);
  SendMessageA(hwnd_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
  // Show the text from its first character; the caret stays where it was.
  const LRESULT selection = SendMessageA(hwnd_, EM_GETSEL, 0, 0);
  SendMessageA(hwnd_, EM_SETSEL, 0, 0);
  SendMessageA(hwnd_, EM_SCROLLCARET, 0, 0);
  SendMessageA(hwnd_, EM_SETSEL, LOWORD(selection), HIWORD(selection));
}

void SpinEdit::FitText() {
  if (!window_font_) return;
  const int margin = Scaled(kTextMargin, dpi_);
  SendMessageA(hwnd_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
  RECT format;
  SendMessageA(hwnd_, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  const int room = format.right - format.left;
  const std::string text = Text();
  LOGFONTA wanted{};
  GetObjectA(window_font_, sizeof wanted, &wanted);
  const int full_height = wanted.lfHeight < 0 ? -wanted.lfHeight : wanted.lfHeight;

  HFONT fitting = window_font_;
  const HDC dc = GetDC(hwnd_);
  const HGDIOBJ kept = SelectObject(dc, window_font_);
  SIZE extent{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &extent);
  for (int height = full_height - 1; extent.cx > room && height * 100 >= full_height * kSmallestPercent; --height) {
    wanted.lfHeight = wanted.lfHeight < 0 ? -height : height;
    const HFONT smaller = CreateFontIndirectA(&wanted);
    SelectObject(dc, smaller);
    if (fitting != window_font_) DeleteObject(fitting);
    fitting = smaller;
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &extent);
  }
  SelectObject(dc, kept);
  ReleaseDC(hwnd_, dc);

  const HFONT old_smaller = smaller_font_;
  smaller_font_ = fitting == window_font_ ? nullptr : fitting;
  Draw(fitting);
  if (old_smaller) DeleteObject(old_smaller);
}

void SpinEdit::SetEnabled(bool enabled) {
  Control::SetEnabled(enabled);
  EnableWindow(up_down_, enabled ? TRUE : FALSE);
}

void SpinEdit::OnCommand(int code) {
  if (code == EN_CHANGE && !setting_text_) {
    FitText();
    if (on_change) on_change();
  } else if (code == EN_KILLFOCUS) {
    const std::int32_t value = Value();
    if (junmaru::form::SpinValueOutside(value, minimum_, maximum_)) SetValue(value);
  }
}

LRESULT SpinEdit::OnNotify(const NMHDR& header) {
  if (header.code != UDN_DELTAPOS) return 0;
  const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
  if (Enabled()) StepBy(change.iDelta > 0 ? 1 : -1);
  return 1;  // the up-down control's own position stays where it is
}

void SpinEdit::Refuse() const { MessageBeep(MB_OK); }

LRESULT SpinEdit::EditMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_KEYDOWN:
      if (wparam == VK_UP || wparam == VK_DOWN) {
        StepBy(wparam == VK_UP ? 1 : -1);
        return 0;
      }
      if (wparam == VK_DELETE && typing_ == SpinTyping::kStepOnly) {
        Refuse();
        return 0;
      }
      break;
    case WM_CHAR:
      switch (SpinCharAction(typing_, static_cast<unsigned char>(wparam), decimal_separator_)) {
        case CharAction::kAccept:
          break;
        case CharAction::kRefuse:
          Refuse();
          return 0;
        case CharAction::kIgnore:
          return 0;
      }
      break;
    case WM_IME_CHAR:
      Refuse();
      return 0;
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
      if (typing_ == SpinTyping::kStepOnly) return 0;
      break;
    case WM_MOUSEWHEEL:
      return 0;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd_, SpinEditKeys, 0);
      break;
  }
  return DefSubclassProc(hwnd_, message, wparam, lparam);
}

}  // namespace junmaru::win32
