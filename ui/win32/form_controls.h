#pragma once

// The window's controls, made from the control table as Win32 child
// windows: one per row, in the table's order (which is the focus order of
// those that take the focus), with its place, caption, value, limits,
// state and font, and the name a screen reader announces.

#include <array>
#include <memory>

#include "control.h"
#include "control_table.h"
#include "dialog_window.h"
#include "dialogs.h"

namespace junmaru::win32 {

class MainWindow;

struct FormControls {
  // The control of each row (none for the window itself and the dialogs).
  std::array<Control*, form::kControlCount> controls{};
  // The file dialog of each dialog row.
  std::array<std::unique_ptr<FileDialog>, form::kControlCount> dialogs;
  // The window of each dialog of the table, made at the start and hidden.
  std::array<std::unique_ptr<DialogWindow>, form::kControlCount> windows;

  // The control of a row as its class; the row must be of that kind.
  template <class C>
  C* Get(form::ControlId id) const {
    return static_cast<C*>(controls[id.index]);
  }
};

// Creates every control of the main window in window (a group box's
// controls at their place inside the box), and every dialog of the table
// with its controls, hidden. The controls that take the focus are made
// in the focus order, which is the order Tab follows.
void BuildControls(MainWindow& window, FormControls& c);

}  // namespace junmaru::win32
