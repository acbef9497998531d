#pragma once

// A dialog of the control table as a Win32 window of its own: a popup
// with a caption and a close button, owned by the main window while shown, holding
// its controls as the main window holds its own (the same fonts, the
// design places scaled to the DPI). It is made at the start and stays
// hidden between its showings, so its controls keep their values.
//
// RunModal shows it centred over its owner, disables the owner, and runs
// a dialog message loop (Tab, Shift+Tab, the controls' Alt keys, Enter for
// OK unless another button has the focus, Esc for Cancel) until OK is
// taken or it is cancelled.

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "control.h"
#include "extension_families.h"
#include "window_font.h"

namespace junmaru::win32 {

class PushButton;

class DialogWindow {
 public:
  // client: the design client size (its left and top are not used).
  DialogWindow(HWND owner, const std::string& caption, junmaru::DesignBox client);
  ~DialogWindow();
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  HWND Handle() const { return hwnd_; }

  // Creates a control of kind C in the dialog, as MainWindow::Add does.
  template <class C, class... Args>
  C* Add(Box design, int font_height, Args&&... args) {
    const int id = next_id_;
    next_id_ += 2;
    auto control = std::make_unique<C>(hwnd_, id, design, font_height, std::forward<Args>(args)...);
    C* added = control.get();
    Adopt(std::move(control), id);
    return added;
  }

  // Shows the dialog modally; ok runs accept (under guard) and closes it
  // when accept says so. True when it closed by OK.
  bool RunModal(PushButton& ok, PushButton& cancel, const std::function<bool()>& accept,
                const std::function<void(const std::function<void()>&)>& guard);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void Adopt(std::unique_ptr<Control> control, int id);
  void LayOut(int dpi);
  Control* ControlOf(HWND child) const;

  enum class Outcome { kOpen, kOk, kCancel };

  HWND owner_;
  HWND hwnd_ = nullptr;
  junmaru::DesignBox client_;
  int dpi_ = 96;
  WindowFonts fonts_;
  int next_id_ = 100;  // above IDOK and IDCANCEL, which the dialog keys send
  std::vector<std::unique_ptr<Control>> controls_;
  std::map<int, Control*> by_id_;
  PushButton* ok_ = nullptr;
  PushButton* cancel_ = nullptr;
  Outcome outcome_ = Outcome::kOpen;
};

}  // namespace junmaru::win32
