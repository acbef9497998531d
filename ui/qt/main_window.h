#pragma once

// The main window in Qt: a widget for every row of the control table
// (FormControls) and the form's handlers (TForm1), bound together as
// kHandlers says. The window implements the ControlSet that the handlers
// drive, and nothing of their logic.
//
// Every handler runs through ErrorDisplay::Guard (see Connect), so an
// error that leaves it is shown and the window stays usable.

#include <QWidget>
#include <string>

#include "control_set.h"
#include "error_display.h"
#include "form_controls.h"
#include "t_form1.h"

namespace junmaru::window {

class MainWindow : public QWidget, public FormControls, public form::ControlSet, public form::TForm1 {
  Q_OBJECT

 public:
  // settings_path: the settings file to read now and write at destruction;
  // the program passes junmaru::ProgramSettingsPath(), tests a file of
  // their own.
  explicit MainWindow(std::string settings_path, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The controls, as the form's handlers see them.
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

  // The run's view of the window.
  void SetStatusText(const std::string& text) override;
  void SetStatusColour(junmaru::StatusColour colour) override;
  bool StatusShowsError() const override;
  void SetProgress(long long progress) override;
  void SetGaugeBackground(junmaru::GaugeBackground background) override;
  void RepaintNow() override;
  void EnableRun(bool enabled) override;
  void ShowMessage(const std::string& text) override;

 private:
  // Binds a control's signal to a handler that runs under the error display.
  template <class Sender, class Signal>
  void Connect(Sender* sender, Signal signal, void (form::TForm1::*handler)()) {
    connect(sender, signal, this, [this, handler] { ErrorDisplay::Guard(this, [this, handler] { (this->*handler)(); }); });
  }
  // Binds every control of kHandlers to its handler.
  void BindHandlers();
};

}  // namespace junmaru::window
