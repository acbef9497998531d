#pragma once

// The window's widgets, made from the control table: one per row, with its
// design name as object name, its place, caption, value, limits, state,
// font, focus order and the name a screen reader announces.

#include <array>
#include <cstdint>
#include <memory>

#include "control_table.h"

class QWidget;

namespace junmaru::window {

class FileDialog;

struct FormControls {
  FormControls();
  ~FormControls();

  // The widget of each row (none for the main window itself and the file
  // dialogs; a QDialog for a dialog of the table).
  std::array<QWidget*, form::kControlCount> widgets{};
  // The file dialog of each dialog row.
  std::array<std::unique_ptr<FileDialog>, form::kControlCount> dialogs;

  // The widget of a row as its class; the row must be of that kind.
  template <class W>
  W* Get(form::ControlId id) const {
    return static_cast<W*>(widgets[id.index]);
  }
};

// Creates every control of the main window in form (or in its group box),
// and every dialog of the table with its controls, hidden, in the table's
// order, and sets each window's focus order.
void BuildControls(QWidget* form, FormControls& c);

// The background of an edit, in every state (enabled or not).
void SetBaseColour(QWidget* widget, std::uint32_t colour_ref);

}  // namespace junmaru::window
