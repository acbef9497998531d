#include "progress_gauge.h"

#include <string>

#include "colour_ref.h"
#include "gauge_accessible.h"
#include "gauge_scale.h"
#include "main_window.h"

namespace junmaru::win32 {
namespace {

const char kGaugeClass[] = "JunmaruGauge";

void RegisterGaugeClass(HINSTANCE instance) {
  WNDCLASSEXA gauge_class{};
  if (GetClassInfoExA(instance, kGaugeClass, &gauge_class)) return;
  gauge_class.cbSize = sizeof gauge_class;
  gauge_class.lpfnWndProc = ProgressGauge::WindowProc;
  gauge_class.hInstance = instance;
  gauge_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  gauge_class.lpszClassName = kGaugeClass;
  RegisterClassExA(&gauge_class);
}

HWND CreateGauge(HWND parent, int id, const std::string& name) {
  RegisterGaugeClass(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)));
  return CreateChild(parent, kGaugeClass, 0, 0, name, id);
}

// Black on light colours, white on dark ones.
COLORREF TextColourOn(COLORREF fill) {
  const int luminance = (GetRValue(fill) * 299 + GetGValue(fill) * 587 + GetBValue(fill) * 114) / 1000;
  return luminance >= 128 ? RGB(0, 0, 0) : RGB(255, 255, 255);
}

void Fill(HDC dc, const RECT& area, COLORREF colour) {
  SetBkColor(dc, colour);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
}

}  // namespace

ProgressGauge::ProgressGauge(HWND parent, int id, Box design, int font_height, const std::string& name)
    : Control(CreateGauge(parent, id, name), design, font_height),
      back_colour_(junmaru::form::colours::kGaugeIdle),
      bar_colour_(junmaru::form::colours::kGaugeBar) {
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void ProgressGauge::SetProgress(long long progress) {
  const int before = Percent();
  progress_ = junmaru::form::ClampProgress(progress);
  if (Percent() == before) return;
  InvalidateRect(hwnd_, nullptr, FALSE);
  UpdateWindow(hwnd_);
  NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, hwnd_, OBJID_CLIENT, CHILDID_SELF);  // for screen readers
  ShowResponsive();
}

int ProgressGauge::Percent() const { return junmaru::form::GaugePercent(progress_); }

void ProgressGauge::SetBackColour(std::uint32_t colour_ref) {
  if (colour_ref == back_colour_) return;
  back_colour_ = colour_ref;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void ProgressGauge::Paint(HDC dc, const RECT& frame) {
  ++paint_count_;
  const RECT inside{frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1};
  const int bar_width = static_cast<int>((inside.right - inside.left) * progress_ / junmaru::form::kGaugeMax);
  const RECT bar{inside.left, inside.top, inside.left + bar_width, inside.bottom};
  const RECT rest{inside.left + bar_width, inside.top, inside.right, inside.bottom};
  const COLORREF back = static_cast<COLORREF>(back_colour_);
  const COLORREF fill = static_cast<COLORREF>(bar_colour_);

  // Drawn off screen first, so that a run's many updates never flicker.
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, frame.right, frame.bottom);
  HGDIOBJ old_bitmap = SelectObject(memory, bitmap);
  Fill(memory, frame, RGB(0, 0, 0));
  Fill(memory, rest, back);
  Fill(memory, bar, fill);

  // The text is drawn twice, each time clipped to one colour's area, so
  // that every part of it contrasts with what lies beneath.
  const std::string text = junmaru::form::GaugeText(Percent());
  HGDIOBJ old_font = SelectObject(memory, reinterpret_cast<HGDIOBJ>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)));
  SetBkMode(memory, TRANSPARENT);
  for (const auto& [area, under] : {std::pair{bar, fill}, std::pair{rest, back}}) {
    if (area.right <= area.left) continue;
    HRGN clip = CreateRectRgnIndirect(&area);
    SelectClipRgn(memory, clip);
    SetTextColor(memory, TextColourOn(under));
    RECT text_area = inside;
    DrawTextA(memory, text.c_str(), static_cast<int>(text.size()), &text_area,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectClipRgn(memory, nullptr);
    DeleteObject(clip);
  }
  SelectObject(memory, old_font);
  BitBlt(dc, 0, 0, frame.right, frame.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

LRESULT CALLBACK ProgressGauge::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* gauge = reinterpret_cast<ProgressGauge*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_SETFONT:
      SetPropA(hwnd, "font", reinterpret_cast<HANDLE>(wparam));
      if (LOWORD(lparam)) InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(GetPropA(hwnd, "font"));
    case WM_ERASEBKGND:
      return 1;
    case WM_GETOBJECT:
      if (const LRESULT object = GaugeAccessibleObject(hwnd, wparam, lparam)) return object;
      break;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd, &paint);
      RECT frame;
      GetClientRect(hwnd, &frame);
      if (gauge) gauge->Paint(dc, frame);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_NCDESTROY:
      RemovePropA(hwnd, "font");
      break;
  }
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

}  // namespace junmaru::win32
