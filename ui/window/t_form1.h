#pragma once

// The main window: its controls (FormControls), the handlers bound to
// them, and the view through which a ranking run reports.
//
// Every handler runs through ErrorDisplay::Guard (see Connect), so an
// error that leaves it is shown and the window stays usable.

#include <QWidget>
#include <string>

#include "error_display.h"
#include "form_controls.h"
#include "log_lines.h"
#include "run_view.h"

namespace junmaru::window {

class TForm1 : public QWidget, public FormControls, public junmaru::RunView {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // What the window holds for as long as it lives; each log load or file
  // choice replaces them.
  junmaru::LogLines& Lines() { return log_lines_; }
  std::string& ReadPass() { return read_pass_; }  // native bytes
  std::string& SavePass() { return save_pass_; }  // native bytes

  // GO: one ranking run over the chosen lines, written to SavePass.
  void BtnGoClick();

  // The run's view of the window.
  void SetStatusText(const std::string& text) override;
  void SetStatusColour(junmaru::StatusColour colour) override;
  bool StatusShowsError() const override;
  void SetProgress(long long progress) override;
  void SetGaugeBackground(std::uint32_t colour) override;
  void RepaintNow() override;
  void SetControlEnabled(junmaru::RunControl control, bool enabled) override;
  void ShowMessage(const std::string& text) override;

 private:
  void FormCreate();
  void FormDestroy();

  // Binds a control's signal to a handler that runs under the error display.
  template <class Sender, class Signal>
  void Connect(Sender* sender, Signal signal, void (TForm1::*handler)()) {
    connect(sender, signal, this, [this, handler] { ErrorDisplay::Guard(this, [this, handler] { (this->*handler)(); }); });
  }

  junmaru::LogLines log_lines_;
  std::string read_pass_;
  std::string save_pass_;
};

}  // namespace junmaru::window
