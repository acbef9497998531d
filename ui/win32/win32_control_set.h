#pragma once

// The form's view of the Win32 window: every value its handlers read or
// set, on the controls made from the control table, and the run's outputs.

#include "control_set.h"
#include "form_controls.h"
#include "main_window.h"

namespace junmaru::win32 {

class Win32ControlSet : public junmaru::form::ControlSet {
 public:
  Win32ControlSet(MainWindow& window, FormControls& controls) : window_(window), c_(controls) {}

  void SetCaption(form::ControlId label, const std::string& text) override;

  std::string SpinText(form::ControlId spin) const override;
  void SetSpinText(form::ControlId spin, const std::string& text) override;
  std::int32_t SpinMin(form::ControlId spin) const override;
  std::int32_t SpinMax(form::ControlId spin) const override;
  void SetSpinMax(form::ControlId spin, std::int32_t maximum) override;

  bool Checked(form::ControlId check) const override;
  void SetChecked(form::ControlId check, bool checked) override;

  std::string EditText(form::ControlId edit) const override;
  void SetEditText(form::ControlId edit, const std::string& text) override;
  void SetEditEnabled(form::ControlId edit, bool enabled) override;
  void SetEditColour(form::ControlId edit, std::uint32_t colour) override;

  std::vector<std::string> MemoLines(form::ControlId memo) override;
  void SetMemoLines(form::ControlId memo, const std::vector<std::string>& lines) override;

  std::optional<std::string> Execute(form::ControlId dialog) override;
  bool ShowModal(const form::ModalDialog& dialog, const std::function<bool()>& accept) override;
  void ShowError(const std::string& text) override;

  void SetStatusText(const std::string& text) override;
  void SetStatusColour(junmaru::StatusColour colour) override;
  bool StatusShowsError() const override;
  void SetProgress(long long progress) override;
  void SetGaugeBackground(junmaru::GaugeBackground background) override;
  void RepaintNow() override;
  void EnableRun(bool enabled) override;
  void ShowMessage(const std::string& text) override;

 private:
  HWND Owner() const;

  MainWindow& window_;
  FormControls& c_;
  HWND modal_ = nullptr;  // the dialog shown, which owns the message boxes meanwhile
};

}  // namespace junmaru::win32
