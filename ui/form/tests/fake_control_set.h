#pragma once

// A window without a toolkit, made from the control table as the windows
// are: every control is a plain field that starts at its design value, and
// a real change of a control bound in kHandlers runs the form's handler as
// a window's binding does, an error that leaves it going to the error
// display (here: the list `errors`).

#include <array>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "colour_ref.h"
#include "control_set.h"
#include "error_text.h"
#include "t_form1.h"

namespace junmaru::form::testing {

class FakeControlSet : public ControlSet {
 public:
  TForm1* form = nullptr;  // whose handlers the changes run

  struct State {
    std::string text;  // caption, edit text or spin text
    std::int32_t minimum = 0, maximum = 0;
    bool checked = false;
    bool enabled = true;
    std::uint32_t colour = 0;
    std::vector<std::string> lines;
  };
  std::array<State, kControlCount> controls;
  std::deque<std::optional<std::string>> dialog_answers;  // the next Execute takes the front
  std::vector<ControlId> dialogs_shown;
  // What the user does in a modal dialog, one answer per press of OK or
  // Cancel: the changes made before it, then the press. With no answer
  // left the dialog is cancelled.
  struct ModalAnswer {
    std::function<void(FakeControlSet&)> changes;
    bool ok;
  };
  std::deque<ModalAnswer> modal_answers;
  std::vector<std::string> errors, messages;

  std::string status = DesignText(Control("State"));
  bool status_error = false;
  long long progress = 0;
  std::uint32_t gauge_back = colours::kGaugeIdle;
  bool run_enabled = false;  // GO and the range spinners

  FakeControlSet() {
    for (std::uint16_t i = 0; i < kControlCount; ++i) {
      const ControlId id{i};
      State& c = controls[i];
      c.text = DesignText(id);
      c.checked = RowOf(id).checked;
      c.enabled = RowOf(id).enabled;
      c.colour = RowOf(id).background.value_or(0);
      if (RowOf(id).kind == Kind::kSpinEdit) {
        const SpinDesign spin = DesignSpin(id);
        c.text = std::to_string(spin.value);
        c.minimum = spin.minimum;
        c.maximum = spin.maximum;
      }
      if (RowOf(id).kind == Kind::kMemo) c.lines = DesignLines(id);
    }
  }

  State& operator[](ControlId id) { return controls[id.index]; }
  const State& operator[](ControlId id) const { return controls[id.index]; }

  // Runs a handler as the window does, under the error display.
  void Run(void (TForm1::*handler)()) {
    try {
      (form->*handler)();
    } catch (...) {
      errors.push_back(CurrentErrorDisplayText());
    }
  }
  // Runs the handler bound to the control's event, if any (and a form is there).
  void Changed(ControlId id) {
    if (!form) return;
    for (const HandlerBinding& binding : kHandlers)
      if (binding.control == id) Run(binding.handler);
  }

  void SetCaption(ControlId id, const std::string& text) override { (*this)[id].text = text; }
  std::string SpinText(ControlId id) const override { return (*this)[id].text; }
  void SetSpinText(ControlId id, const std::string& text) override {
    if ((*this)[id].text == text) return;
    (*this)[id].text = text;
    Changed(id);
  }
  std::int32_t SpinMin(ControlId id) const override { return (*this)[id].minimum; }
  std::int32_t SpinMax(ControlId id) const override { return (*this)[id].maximum; }
  void SetSpinMax(ControlId id, std::int32_t maximum) override { (*this)[id].maximum = maximum; }
  bool Checked(ControlId id) const override { return (*this)[id].checked; }
  void SetChecked(ControlId id, bool checked) override {
    if ((*this)[id].checked == checked) return;
    (*this)[id].checked = checked;
    Changed(id);
  }
  std::string EditText(ControlId id) const override { return (*this)[id].text; }
  void SetEditText(ControlId id, const std::string& text) override { (*this)[id].text = text; }
  void SetEditEnabled(ControlId id, bool on) override { (*this)[id].enabled = on; }
  void SetEditColour(ControlId id, std::uint32_t colour) override { (*this)[id].colour = colour; }
  std::vector<std::string> MemoLines(ControlId id) override { return (*this)[id].lines; }
  void SetMemoLines(ControlId id, const std::vector<std::string>& lines) override { (*this)[id].lines = lines; }
  std::optional<std::string> Execute(ControlId dialog) override {
    dialogs_shown.push_back(dialog);
    std::optional<std::string> answer = dialog_answers.front();
    dialog_answers.pop_front();
    return answer;
  }
  bool ShowModal(const ModalDialog& dialog, const std::function<bool()>& accept) override {
    dialogs_shown.push_back(dialog.window);
    while (!modal_answers.empty()) {
      const ModalAnswer answer = modal_answers.front();
      modal_answers.pop_front();
      if (answer.changes) answer.changes(*this);
      if (!answer.ok) return false;
      if (accept()) return true;
    }
    return false;
  }
  void ShowError(const std::string& text) override { errors.push_back(text); }

  void SetStatusText(const std::string& text) override { status = text; }
  void SetStatusColour(StatusColour colour) override { status_error = colour == StatusColour::kError; }
  bool StatusShowsError() const override { return status_error; }
  void SetProgress(long long value) override { progress = value; }
  void SetGaugeBackground(GaugeBackground background) override { gauge_back = GaugeColour(background); }
  void RepaintNow() override {}
  void EnableRun(bool on) override { run_enabled = on; }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
};

}  // namespace junmaru::form::testing
