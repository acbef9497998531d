// The Windows window program: the main window over the form's handlers,
// and a dialog-style message loop, so that Tab, Shift+Tab, Enter, Esc and
// the buttons' Alt keys work from every control.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "buttons.h"
#include "form_controls.h"
#include "main_window.h"
#include "settings.h"
#include "spin_edit.h"
#include "t_form1.h"
#include "win32_control_set.h"

namespace {

using junmaru::form::TForm1;
using junmaru::win32::FormControls;
using junmaru::win32::MainWindow;

// Each control's event runs its handler (kHandlers) under the window's
// error display.
void BindHandlers(MainWindow& window, FormControls& c, TForm1& form) {
  for (const junmaru::form::HandlerBinding& binding : junmaru::form::kHandlers) {
    auto run = [&window, &form, handler = binding.handler] { window.Guard([&form, handler] { (form.*handler)(); }); };
    switch (junmaru::form::RowOf(binding.control).kind) {
      case junmaru::form::Kind::kButton:
        c.Get<junmaru::win32::PushButton>(binding.control)->on_click = run;
        break;
      case junmaru::form::Kind::kSpinEdit:
        c.Get<junmaru::win32::SpinEdit>(binding.control)->on_change = run;
        break;
      case junmaru::form::Kind::kCheckBox:
        c.Get<junmaru::win32::CheckBox>(binding.control)->on_click = run;
        break;
      default:
        break;
    }
  }
  window.on_destroy = [&form] { form.FormDestroy(); };  // the window runs it under the error display
}

int RunMessageLoop(HWND window) {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageA(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
  // The window's thread is a COM apartment: the file dialogs expect one,
  // and the gauge hands screen readers an object of its own through it.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX common{sizeof common, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
  InitCommonControlsEx(&common);

  MainWindow window(instance, junmaru::form::DesignText(junmaru::form::Control("Form1")));
  FormControls controls;
  junmaru::win32::BuildControls(window, controls);
  junmaru::win32::Win32ControlSet control_set(window, controls);
  // The settings file lives beside the executable.
  TForm1 form(control_set, junmaru::ProgramSettingsPath());
  BindHandlers(window, controls, form);
  window.Guard([&form] { form.FormCreate(); });

  window.Show(show_command);
  return RunMessageLoop(window.Handle());
}
