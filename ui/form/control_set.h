#pragma once

// The main window's controls as the form's handlers see them: each value
// the handlers read or set, the control named by its row of the control
// table, and nothing of how a toolkit draws it. Each window (Qt, Win32)
// implements this once over the widgets it made from the table; the tests
// implement it with plain fields.
//
// The status line, the gauge, a repaint, enabling GO with the range
// spinners, and the information box are the run's outputs and come from
// RunView.
//
// Texts are code page 932 bytes; paths are the platform's native bytes.
//
// What every implementation keeps, because the handlers rely on it:
// - Setting a caption, an edit's text or a spin edit's text that the
//   control already holds changes nothing and runs nothing.
// - When a spin edit's text really changes, by the user or by the program,
//   its change handler (see kHandlers in t_form1.h) runs at once, inside
//   the call that changed it. Likewise a check box's click handler on every
//   real change of its state, and on no other call.
// - Setting a spin edit's maximum leaves its text alone; its minimum is the
//   design's and never changes.
// - The user's own changes follow the spin edit rules of spin_value.h:
//   the arrows step through SetSpinValue, and leaving a spin edit whose
//   value lies outside its limits sets it again through SetSpinValue.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "control_table.h"
#include "run_view.h"

namespace junmaru::form {

// The controls behind RunView: the status line, the gauge, and GO with the
// range spinners, which EnableRun offers or withdraws together.
inline constexpr ControlId kStatusLine = Control("State");
inline constexpr ControlId kGauge = Control("Gauge");
inline constexpr ControlId kRunControls[] = {Control("BtnGo"), Control("PStart"), Control("PEnd")};
// The status line keeps to its row: it grows with its text up to the
// gauge's right edge (GO stands beyond it), and a longer text is shortened
// in the middle, where a path's folders are, and shown whole as a tooltip.
inline constexpr int kStatusLineRoom = RowOf(kGauge).box.left + RowOf(kGauge).box.width - RowOf(kStatusLine).box.left;

// A dialog of the table: its window row and the buttons that close it.
// Each window makes the dialog's controls at the start, hidden with it, so
// that they hold their values whether the dialog is open or not.
struct ModalDialog {
  ControlId window, ok, cancel;
};
inline constexpr ModalDialog kCountDialog{Control("CountDialog"), Control("CountOk"), Control("CountCancel")};

class ControlSet : public junmaru::RunView {
 public:
  // A label's or path display's text.
  virtual void SetCaption(ControlId label, const std::string& text) = 0;

  virtual std::string SpinText(ControlId spin) const = 0;
  virtual void SetSpinText(ControlId spin, const std::string& text) = 0;
  virtual std::int32_t SpinMin(ControlId spin) const = 0;
  virtual std::int32_t SpinMax(ControlId spin) const = 0;
  virtual void SetSpinMax(ControlId spin, std::int32_t maximum) = 0;
  // PStart and PEnd are enabled with GO, through RunView::EnableRun.

  virtual bool Checked(ControlId check) const = 0;
  virtual void SetChecked(ControlId check, bool checked) = 0;

  virtual std::string EditText(ControlId edit) const = 0;
  virtual void SetEditText(ControlId edit, const std::string& text) = 0;
  virtual void SetEditEnabled(ControlId edit, bool enabled) = 0;
  // The edit's background, in every state; a platform colour integer.
  virtual void SetEditColour(ControlId edit, std::uint32_t colour) = 0;

  // The lines of a memo, one per line typed, each cut at kMemoLineMax
  // bytes (memo_line.h); an empty memo has none.
  virtual std::vector<std::string> MemoLines(ControlId memo) = 0;
  // Replaces the memo's text by these lines.
  virtual void SetMemoLines(ControlId memo, const std::vector<std::string>& lines) = 0;

  // Shows a file dialog with its design title, filters and file name; the
  // chosen file's full path, or nothing when cancelled.
  virtual std::optional<std::string> Execute(ControlId dialog) = 0;

  // Shows the dialog modally over the main window, its first control
  // focused. OK (its button, or Enter) runs accept, which says whether the
  // values may be taken (and tells the user when not): the dialog closes
  // only when it does. Cancel (its button, Esc or the title bar's close)
  // closes it at once. True when it was closed by OK.
  virtual bool ShowModal(const ModalDialog& dialog, const std::function<bool()>& accept) = 0;

  // The error display: a modal box with a stop icon, one OK button and the
  // program's title as caption, showing this text as it is.
  virtual void ShowError(const std::string& text) = 0;

  // A spin edit's value by the spin edit rules: its text as an integer
  // (the minimum when it is none), and a value set clamped to the limits
  // and written as text.
  std::int32_t SpinValue(ControlId spin) const;
  void SetSpinValue(ControlId spin, std::int64_t value);
};

}  // namespace junmaru::form
