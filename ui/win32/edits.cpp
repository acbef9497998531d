#include "edits.h"

#include <commctrl.h>

#include <map>

#include "memo_line.h"
#include "memo_text.h"

namespace junmaru::win32 {
namespace {

// The memo takes Enter as a new line, but Escape, which a multi-line edit
// would turn into WM_CLOSE for its window, is dropped here.
LRESULT CALLBACK MemoKeys(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
  if ((message == WM_KEYDOWN || message == WM_CHAR) && wparam == VK_ESCAPE) return 0;
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

}  // namespace

Edit::Edit(HWND parent, int id, Box design, int font_height, const std::string& text)
    : Control(CreateChild(parent, "EDIT", ES_AUTOHSCROLL | ES_LEFT | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE, text,
                          id),
              design, font_height),
      background_(RGB(255, 255, 255)) {
  SendMessageA(hwnd_, EM_SETLIMITTEXT, 0, 0);  // no limit but the system's
}

Edit::~Edit() {
  if (brush_) DeleteObject(brush_);
}

void Edit::SetText(const std::string& cp932) {
  if (cp932 == Text()) return;
  SetWindowTextA(hwnd_, cp932.c_str());
  kept_.Clear();
  kept_.Keep(WindowText(hwnd_), cp932);
}

void Edit::SetBackground(std::uint32_t colour_ref) {
  const COLORREF colour = static_cast<COLORREF>(colour_ref);
  if (colour == background_) return;
  background_ = colour;
  if (brush_) DeleteObject(brush_);
  brush_ = nullptr;
  InvalidateRect(hwnd_, nullptr, TRUE);
}

HBRUSH Edit::Colours(HDC dc) {
  if (!brush_) brush_ = CreateSolidBrush(background_);
  SetBkColor(dc, background_);
  SetTextColor(dc, GetSysColor(Enabled() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  return brush_;
}

Memo::Memo(HWND parent, int id, Box design, int font_height)
    : Control(CreateChild(parent, "EDIT",
                          ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP | WS_GROUP,
                          WS_EX_CLIENTEDGE, std::string(), id),
              design, font_height) {
  SendMessageA(hwnd_, EM_SETLIMITTEXT, 0, 0);
  SetWindowSubclass(hwnd_, MemoKeys, 0, 0);
}

std::vector<std::string> Memo::Lines() const {
  std::vector<std::string> lines = MemoTextLines(WindowText(hwnd_));
  std::map<std::string, std::size_t> seen;
  for (std::string& line : lines) line = kept_.Original(line, seen[line]++);
  return lines;
}

void Memo::SetLines(const std::vector<std::string>& lines) {
  SetWindowTextA(hwnd_, MemoTextOf(lines).c_str());
  const std::vector<std::string> shown = MemoTextLines(WindowText(hwnd_));
  kept_.Clear();
  if (shown.size() != lines.size()) return;  // a line held a line break of its own
  for (std::size_t i = 0; i < lines.size(); ++i) kept_.Keep(shown[i], junmaru::form::CapMemoLine(lines[i]));
}

}  // namespace junmaru::win32
