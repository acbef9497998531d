#pragma once

// The form's view of the Win32 window: every value its handlers read or
// set, on the window's own controls, and the run's outputs.

#include "control_set.h"
#include "form_controls.h"
#include "main_window.h"

namespace junmaru::win32 {

class Win32ControlSet : public junmaru::form::ControlSet {
 public:
  Win32ControlSet(MainWindow& window, FormControls& controls) : window_(window), c_(controls) {}

  void SetCaption(junmaru::form::Caption caption, const std::string& text) override;

  std::string SpinText(junmaru::form::Spin spin) const override;
  void SetSpinText(junmaru::form::Spin spin, const std::string& text) override;
  std::int32_t SpinMin(junmaru::form::Spin spin) const override;
  std::int32_t SpinMax(junmaru::form::Spin spin) const override;
  void SetSpinMax(junmaru::form::Spin spin, std::int32_t maximum) override;

  bool Checked(junmaru::form::Check check) const override;
  void SetChecked(junmaru::form::Check check, bool checked) override;

  std::string EditText(junmaru::form::Edit edit) const override;
  void SetEditText(junmaru::form::Edit edit, const std::string& text) override;
  void SetEditEnabled(junmaru::form::Edit edit, bool enabled) override;
  void SetEditColour(junmaru::form::Edit edit, std::uint32_t colour) override;

  std::vector<std::string> MemoLines() override;
  void SetMemoLines(const std::vector<std::string>& lines) override;

  std::optional<std::string> Execute(junmaru::form::Dialog dialog) override;
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
  Label* CaptionLabel(junmaru::form::Caption caption) const;
  SpinEdit* SpinOf(junmaru::form::Spin spin) const;
  CheckBox* CheckOf(junmaru::form::Check check) const;
  class Edit* EditOf(junmaru::form::Edit edit) const;
  HWND Owner() const;

  MainWindow& window_;
  FormControls& c_;
};

}  // namespace junmaru::win32
