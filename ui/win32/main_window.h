#pragma once

// The main window as a Win32 top-level window: fixed size with minimise,
// maximise and close, laid out at the design places scaled to the window's
// DPI (and again when the DPI changes), in the button-face colour. It owns
// its controls and routes each control's notifications to it; a handler
// that fails shows the error display and the window carries on.
//
// Maximised, the window keeps its size (the layout is fixed) and moves to
// the top left of the work area; restoring puts it back. It is owned by an
// application window of no size titled with the application's title, which
// gives the taskbar button that title rather than the long caption;
// minimising the window minimises that owner.

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "control.h"
#include "window_font.h"

namespace junmaru::win32 {

// Tells the system that a long handler (a run) is still answering, so that
// Windows does not replace the window by a "not responding" ghost: a look
// at the message queue that removes nothing and handles no input.
void ShowResponsive();

class MainWindow {
 public:
  // Creates the window (not yet shown) at its design position.
  MainWindow(HINSTANCE instance, const std::string& caption);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  HWND Owner() const { return owner_; }
  int Dpi() const { return dpi_; }
  const std::string& FontFace() const { return fonts_.Face(); }

  // Creates a control of kind C as a child of the window, at its design
  // box in client coordinates, with the window font of the given height.
  template <class C, class... Args>
  C* Add(Box design, int font_height, Args&&... args) {
    const int id = next_id_;
    next_id_ += 2;  // a spin edit's up-down control takes the second id
    auto control = std::make_unique<C>(hwnd_, id, design, font_height, std::forward<Args>(args)...);
    C* added = control.get();
    Adopt(std::move(control), id);
    return added;
  }
  // Group boxes go beneath the controls they hold, so that they never
  // paint over them; the focus order is unchanged (group boxes take none).
  void SendToBack(Control* group_box);

  // Runs once the window has been closed, while its controls still exist.
  std::function<void()> on_destroy;

  void Show(int show_command);
  // Repaints the whole window now, without handling any input.
  void RepaintNow();
  // Runs a handler; an error that leaves it is shown by the error display.
  void Guard(const std::function<void()>& handler) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void Adopt(std::unique_ptr<Control> control, int id);
  void LayOut();
  void ResizeClient();
  void MoveFocus(HWND target);
  void PressFocusedButton();
  Control* ControlOf(HWND child) const;

  HWND owner_ = nullptr;
  HWND hwnd_ = nullptr;
  int dpi_ = 96;
  WindowFonts fonts_;
  int next_id_ = 100;  // above IDOK and IDCANCEL, which the dialog keys send
  std::vector<std::unique_ptr<Control>> controls_;
  std::map<int, Control*> by_id_;
  HWND last_focus_ = nullptr;
  bool hidden_with_owner_ = false;
};

}  // namespace junmaru::win32
