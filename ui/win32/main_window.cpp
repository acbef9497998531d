#include "main_window.h"

#include "buttons.h"
#include "control_table.h"
#include "dialogs.h"
#include "error_text.h"
#include "spin_edit.h"

namespace junmaru::win32 {
namespace {

const char kWindowClass[] = "TForm1";
const char kOwnerClass[] = "TApplication";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
// The owner is shown, so that it has the taskbar button, but has no size.
constexpr DWORD kOwnerStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// The window's design position and client size.
constexpr junmaru::DesignBox kDesign = junmaru::form::RowOf(junmaru::form::Control("Form1")).box;

void RegisterWindowClass(HINSTANCE instance, const char* name) {
  WNDCLASSEXA window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = DefWindowProcA;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
  window_class.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                                       GetSystemMetrics(SM_CXSMICON),
                                                       GetSystemMetrics(SM_CYSMICON), 0));
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = name;
  RegisterClassExA(&window_class);
}

}  // namespace

void ShowResponsive() {
  MSG message;
  PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
}

MainWindow::MainWindow(HINSTANCE instance, const std::string& caption) {
  RegisterWindowClass(instance, kOwnerClass);
  RegisterWindowClass(instance, kWindowClass);
  owner_ = CreateWindowExA(0, kOwnerClass, junmaru::form::AppTitle().c_str(), kOwnerStyle,
                           GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                           nullptr, instance, nullptr);
  SetWindowLongPtrA(owner_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrA(owner_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainWindow::OwnerProc));
  hwnd_ = CreateWindowExA(0, kWindowClass, caption.c_str(), kStyle, kDesign.left, kDesign.top, kDesign.width,
                          kDesign.height, owner_, nullptr, instance, nullptr);
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainWindow::WindowProc));
  dpi_ = static_cast<int>(GetDpiForWindow(hwnd_));
  if (dpi_ <= 0) dpi_ = 96;
  ResizeClient();
}

MainWindow::~MainWindow() {
  if (hwnd_) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  SetWindowLongPtrA(owner_, GWLP_USERDATA, 0);
  DestroyWindow(owner_);
}

void MainWindow::Adopt(std::unique_ptr<Control> control, int id) {
  Control* added = control.get();
  controls_.push_back(std::move(control));
  by_id_[id] = added;
  by_id_[id + 1] = added;
  added->SetFont(fonts_.At(added->FontHeight(), dpi_));
  added->Place(dpi_);
}

void MainWindow::SendToBack(Control* group_box) {
  SetWindowPos(group_box->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindow::ResizeClient() {
  RECT frame{0, 0, Scaled(kDesign.width, dpi_), Scaled(kDesign.height, dpi_)};
  AdjustWindowRectExForDpi(&frame, kStyle, FALSE, 0, static_cast<UINT>(dpi_));
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::LayOut() {
  for (const auto& control : controls_) {
    control->SetFont(fonts_.At(control->FontHeight(), dpi_));
    control->Place(dpi_);
  }
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void MainWindow::Show(int show_command) {
  ShowWindow(owner_, SW_SHOWNOACTIVATE);
  const bool minimized = show_command == SW_MINIMIZE || show_command == SW_SHOWMINIMIZED ||
                         show_command == SW_SHOWMINNOACTIVE || show_command == SW_FORCEMINIMIZE;
  ShowWindow(hwnd_, minimized ? SW_SHOWNORMAL : show_command);
  if (minimized) ShowWindow(owner_, SW_MINIMIZE);
  UpdateWindow(hwnd_);
  if (!GetFocus() || !IsChild(hwnd_, GetFocus())) MoveFocus(GetNextDlgTabItem(hwnd_, nullptr, FALSE));
}

void MainWindow::RepaintNow() {
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  ShowResponsive();
}

void MainWindow::Guard(const std::function<void()>& handler) const {
  try {
    handler();
  } catch (...) {
    const HWND owner = IsWindowVisible(hwnd_) ? hwnd_ : nullptr;
    ShowError(owner, junmaru::form::CurrentErrorDisplayText());
  }
}

Control* MainWindow::ControlOf(HWND child) const {
  if (!child || GetParent(child) != hwnd_) return nullptr;
  const auto found = by_id_.find(GetDlgCtrlID(child));
  return found == by_id_.end() ? nullptr : found->second;
}

void MainWindow::MoveFocus(HWND target) {
  if (!target) return;
  SetFocus(target);
  // Reaching an edit by the keyboard selects its text, as dialogs do
  // (the spin edits of step-only values excepted).
  const Control* control = ControlOf(target);
  if (control && control->SelectsOnTabFocus()) SendMessageA(target, EM_SETSEL, 0, -1);
}

void MainWindow::PressFocusedButton() {
  Control* focused = ControlOf(GetFocus());
  if (auto* button = dynamic_cast<PushButton*>(focused)) {
    button->Press();
  } else if (auto* spin = dynamic_cast<SpinEdit*>(focused); spin && spin->Typing() == SpinTyping::kNumber) {
    MessageBeep(MB_OK);  // Enter is no character a range spinner takes
  }
}

LRESULT CALLBACK MainWindow::OwnerProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* window = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (window && window->hwnd_) {
    switch (message) {
      case WM_CLOSE:  // from the taskbar button's menu: the window closes as by its own button
        SendMessageA(window->hwnd_, WM_CLOSE, 0, 0);
        return 0;
      case WM_SETFOCUS:  // the taskbar button brings the window forward
        if (IsWindowEnabled(window->hwnd_)) SetActiveWindow(window->hwnd_);
        return 0;
      case WM_SIZE:
        // The window goes with the application's button: hidden while it
        // is minimised, back when it is restored.
        if (wparam == SIZE_MINIMIZED && IsWindowVisible(window->hwnd_)) {
          window->hidden_with_owner_ = true;
          ShowWindow(window->hwnd_, SW_HIDE);
        } else if (wparam == SIZE_RESTORED && window->hidden_with_owner_) {
          window->hidden_with_owner_ = false;
          ShowWindow(window->hwnd_, SW_SHOW);
          SetActiveWindow(window->hwnd_);
        }
        return 0;
    }
  }
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* window = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!window) return DefWindowProcA(hwnd, message, wparam, lparam);
  return window->HandleMessage(message, wparam, lparam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      if (id == IDOK) {
        // Enter: IsDialogMessageA asks for the default button; the focused one is pressed.
        Guard([this] { PressFocusedButton(); });
      } else if (id != IDCANCEL) {  // Esc does nothing
        const auto found = by_id_.find(id);
        if (found != by_id_.end() && lparam) Guard([&] { found->second->OnCommand(HIWORD(wparam)); });
      }
      return 0;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      const auto found = by_id_.find(static_cast<int>(header->idFrom));
      LRESULT result = 0;
      if (found != by_id_.end()) Guard([&] { result = found->second->OnNotify(*header); });
      return result;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: {
      Control* control = ControlOf(reinterpret_cast<HWND>(lparam));
      HBRUSH brush = control ? control->Colours(reinterpret_cast<HDC>(wparam)) : nullptr;
      if (brush) return reinterpret_cast<LRESULT>(brush);
      break;
    }
    case WM_NEXTDLGCTL:
      // Tab and Shift+Tab, as IsDialogMessageA reports them.
      MoveFocus(LOWORD(lparam) ? reinterpret_cast<HWND>(wparam)
                               : GetNextDlgTabItem(hwnd_, GetFocus(), wparam != 0 ? TRUE : FALSE));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        if (IsChild(hwnd_, GetFocus())) last_focus_ = GetFocus();
      } else if (last_focus_ && IsWindow(last_focus_)) {
        SetFocus(last_focus_);
        return 0;
      }
      break;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wparam);
      const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      ResizeClient();
      LayOut();
      return 0;
    }
    case WM_SYSCOMMAND:
      // Minimising the window minimises the application, whose taskbar
      // button brings it back.
      if ((wparam & 0xFFF0) == SC_MINIMIZE) {
        ShowWindow(owner_, SW_MINIMIZE);
        return 0;
      }
      break;
    case WM_GETMINMAXINFO: {
      // The layout is fixed: maximised, the window keeps its size and
      // stands at the top left of the screen's work area.
      RECT frame{0, 0, Scaled(kDesign.width, dpi_), Scaled(kDesign.height, dpi_)};
      AdjustWindowRectExForDpi(&frame, kStyle, FALSE, 0, static_cast<UINT>(dpi_));
      auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
      limits->ptMaxSize = {frame.right - frame.left, frame.bottom - frame.top};
      limits->ptMaxTrackSize = limits->ptMaxSize;
      limits->ptMaxPosition = {0, 0};
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      if (on_destroy) Guard(on_destroy);
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY: {
      const HWND gone = hwnd_;
      hwnd_ = nullptr;
      return DefWindowProcA(gone, message, wparam, lparam);
    }
  }
  return DefWindowProcA(hwnd_, message, wparam, lparam);
}

}  // namespace junmaru::win32
