// The Windows window program: the main window and its message loop.

#include <windows.h>
#include <commctrl.h>

#include "cp932.h"
#include "form_controls.h"
#include "main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&controls);
  junmaru::win32::MainWindow window(instance, junmaru::Sjis("集計順位丸\u3000通称順位丸 Ver1.4"));
  junmaru::win32::FormControls c;
  junmaru::win32::BuildControls(window, c);
  window.Show(show_command);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageA(window.Handle(), &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return 0;
}
