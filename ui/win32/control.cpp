#include "control.h"

#include <vector>

namespace junmaru::win32 {

void Control::Place(int dpi) {
  SetWindowPos(hwnd_, nullptr, Scaled(design_.left, dpi), Scaled(design_.top, dpi), Scaled(design_.width, dpi),
               Scaled(design_.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::SetFont(HFONT font) { SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE); }

std::string WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthA(hwnd);
  if (length <= 0) return std::string();
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
  const int copied = GetWindowTextA(hwnd, buffer.data(), length + 1);
  return std::string(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

HWND CreateChild(HWND parent, const char* window_class, DWORD style, DWORD ex_style, const std::string& text,
                 int id) {
  return CreateWindowExA(ex_style, window_class, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0,
                         0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
}

}  // namespace junmaru::win32
