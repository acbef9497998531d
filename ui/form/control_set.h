#pragma once

// The main window's controls as the form's handlers see them: each value
// the handlers read or set, named by the control's design name, and
// nothing of how a toolkit draws it. Each window (Qt, Win32) implements
// this once over its own widgets; the tests implement it with plain fields.
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
//   its change handler (TForm1::PStartChange, TForm1::PEndChange) runs at
//   once, inside the call that changed it. Likewise TForm1::LinkClick on
//   every real change of Link's state, and on no other call.
// - Setting a spin edit's maximum leaves its text alone; its minimum is the
//   design's and never changes.
// - The user's own changes follow the spin edit rules of spin_value.h:
//   the arrows step through SetSpinValue, and leaving a spin edit whose
//   value lies outside its limits sets it again through SetSpinValue.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "run_view.h"

namespace junmaru::form {

// Static texts that the handlers fill in.
enum class Caption { kPassRead, kPassSave, kLogLine, kLogFirst, kLogLast, kLogStart, kLogEnd };

enum class Spin { kPStart, kPEnd, kPRank, kFontSize, kNameMax };

// The extension switches in the family table's order, then Link.
enum class Check { kCDouga, kCOnsei, kCSyoko, kCJpeg, kCGazou, kCText, kCExe, kCHtml, kCCss, kCCgi, kLink };

// The seven colour edits in the settings file's order, then Prefix.
enum class Edit { kCBG, kCBorder, kCText1, kCText2, kCLink, kALink, kVLink, kPrefix };

enum class Dialog { kOpenDialog, kSaveDialog };

class ControlSet : public junmaru::RunView {
 public:
  virtual void SetCaption(Caption caption, const std::string& text) = 0;

  virtual std::string SpinText(Spin spin) const = 0;
  virtual void SetSpinText(Spin spin, const std::string& text) = 0;
  virtual std::int32_t SpinMin(Spin spin) const = 0;
  virtual std::int32_t SpinMax(Spin spin) const = 0;
  virtual void SetSpinMax(Spin spin, std::int32_t maximum) = 0;
  // PStart and PEnd are enabled with GO, through RunView::EnableRun.

  virtual bool Checked(Check check) const = 0;
  virtual void SetChecked(Check check, bool checked) = 0;

  virtual std::string EditText(Edit edit) const = 0;
  virtual void SetEditText(Edit edit, const std::string& text) = 0;
  virtual void SetEditEnabled(Edit edit, bool enabled) = 0;
  // The edit's background, in every state; a platform colour integer.
  virtual void SetEditColour(Edit edit, std::uint32_t colour) = 0;

  // The exclusion words of the memo Marukin, one per line, each cut at
  // kMemoLineMax bytes (memo_line.h); an empty memo has none.
  virtual std::vector<std::string> MemoLines() = 0;
  // Replaces the memo's text by these lines.
  virtual void SetMemoLines(const std::vector<std::string>& lines) = 0;

  // Shows OpenDialog or SaveDialog with its design title, filters and
  // default name; the chosen file's full path, or nothing when cancelled.
  virtual std::optional<std::string> Execute(Dialog dialog) = 0;

  // The error display: a modal box with a stop icon, one OK button and the
  // program's title as caption, showing this text as it is.
  virtual void ShowError(const std::string& text) = 0;

  // A spin edit's value by the spin edit rules: its text as an integer
  // (the minimum when it is none), and a value set clamped to the limits
  // and written as text.
  std::int32_t SpinValue(Spin spin) const;
  void SetSpinValue(Spin spin, std::int64_t value);
};

}  // namespace junmaru::form
