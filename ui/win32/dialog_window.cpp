#include "dialog_window.h"

#include "buttons.h"

namespace junmaru::win32 {
namespace {

const char kWindowClass[] = "TJunmaruDialog";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

void RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXA window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = DefWindowProcA;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kWindowClass;
  RegisterClassExA(&window_class);  // fails harmlessly when already registered
}

int DpiOf(HWND hwnd) {
  const int dpi = static_cast<int>(GetDpiForWindow(hwnd));
  return dpi > 0 ? dpi : 96;
}

}  // namespace

DialogWindow::DialogWindow(HWND owner, const std::string& caption, junmaru::DesignBox client)
    : owner_(owner), client_(client) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
  RegisterWindowClass(instance);
  // Owned by the main window only while shown: the system destroys owned
  // windows before their owner, and the main window's close still reads
  // the dialog's controls.
  hwnd_ = CreateWindowExA(kExStyle, kWindowClass, caption.c_str(), kStyle, 0, 0, 0, 0, nullptr, nullptr, instance,
                          nullptr);
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DialogWindow::WindowProc));
  dpi_ = DpiOf(owner);
}

DialogWindow::~DialogWindow() {
  if (!hwnd_) return;
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
}

void DialogWindow::Adopt(std::unique_ptr<Control> control, int id) {
  Control* added = control.get();
  controls_.push_back(std::move(control));
  by_id_[id] = added;
  by_id_[id + 1] = added;
  added->SetFont(fonts_.At(added->FontHeight(), dpi_));
  added->Place(dpi_);
}

void DialogWindow::LayOut(int dpi) {
  dpi_ = dpi;
  for (const auto& control : controls_) {
    control->SetFont(fonts_.At(control->FontHeight(), dpi_));
    control->Place(dpi_);
  }
}

Control* DialogWindow::ControlOf(HWND child) const {
  if (!child || GetParent(child) != hwnd_) return nullptr;
  const auto found = by_id_.find(GetDlgCtrlID(child));
  return found == by_id_.end() ? nullptr : found->second;
}

bool DialogWindow::RunModal(PushButton& ok, PushButton& cancel, const std::function<bool()>& accept,
                            const std::function<void(const std::function<void()>&)>& guard) {
  ok_ = &ok;
  cancel_ = &cancel;
  outcome_ = Outcome::kOpen;
  ok.on_click = [this, &accept, &guard] {
    bool taken = false;
    guard([&] { taken = accept(); });
    if (taken) outcome_ = Outcome::kOk;
  };
  cancel.on_click = [this] { outcome_ = Outcome::kCancel; };
  SendMessageA(ok.Handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);

  // Laid out at the owner's DPI, centred over it.
  if (DpiOf(owner_) != dpi_) LayOut(DpiOf(owner_));
  RECT frame{0, 0, Scaled(client_.width, dpi_), Scaled(client_.height, dpi_)};
  AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, static_cast<UINT>(dpi_));
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  RECT over{};
  GetWindowRect(owner_, &over);
  SetWindowPos(hwnd_, nullptr, over.left + (over.right - over.left - width) / 2,
               over.top + (over.bottom - over.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

  SetWindowLongPtrA(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner_));
  EnableWindow(owner_, FALSE);
  ShowWindow(hwnd_, SW_SHOW);
  SetFocus(GetNextDlgTabItem(hwnd_, nullptr, FALSE));
  MSG message{};
  bool quit = false;
  while (outcome_ == Outcome::kOpen) {
    if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
      quit = true;
      break;
    }
    if (!IsDialogMessageA(hwnd_, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  // The owner is enabled before the dialog goes, so that it takes the activation back.
  EnableWindow(owner_, TRUE);
  ShowWindow(hwnd_, SW_HIDE);
  SetWindowLongPtrA(hwnd_, GWLP_HWNDPARENT, 0);
  SetActiveWindow(owner_);
  ok.on_click = nullptr;
  cancel.on_click = nullptr;
  if (quit) PostQuitMessage(static_cast<int>(message.wParam));
  return outcome_ == Outcome::kOk;
}

LRESULT CALLBACK DialogWindow::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* window = reinterpret_cast<DialogWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!window) return DefWindowProcA(hwnd, message, wparam, lparam);
  return window->HandleMessage(message, wparam, lparam);
}

LRESULT DialogWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      if (id == IDOK) {
        // Enter: the focused button if one has the focus, otherwise OK.
        auto* focused = dynamic_cast<PushButton*>(ControlOf(GetFocus()));
        if (focused) {
          focused->Press();
        } else if (ok_) {
          ok_->Press();
        }
      } else if (id == IDCANCEL) {
        if (cancel_) cancel_->Press();
      } else if (const auto found = by_id_.find(id); found != by_id_.end() && lparam) {
        found->second->OnCommand(HIWORD(wparam));
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: {
      Control* control = ControlOf(reinterpret_cast<HWND>(lparam));
      HBRUSH brush = control ? control->Colours(reinterpret_cast<HDC>(wparam)) : nullptr;
      if (brush) return reinterpret_cast<LRESULT>(brush);
      break;
    }
    case WM_NEXTDLGCTL: {
      // Tab and Shift+Tab, as IsDialogMessageA reports them; reaching an
      // edit by the keyboard selects its text.
      const HWND target = LOWORD(lparam) ? reinterpret_cast<HWND>(wparam)
                                         : GetNextDlgTabItem(hwnd_, GetFocus(), wparam != 0 ? TRUE : FALSE);
      if (!target) return 0;
      SetFocus(target);
      const Control* control = ControlOf(target);
      if (control && control->SelectsOnTabFocus()) SendMessageA(target, EM_SETSEL, 0, -1);
      return 0;
    }
    case WM_CLOSE:  // the title bar's close button cancels
      if (cancel_) cancel_->Press();
      return 0;
    case WM_DPICHANGED:
      LayOut(HIWORD(wparam));
      return 0;
  }
  return DefWindowProcA(hwnd_, message, wparam, lparam);
}

}  // namespace junmaru::win32
