#pragma once

// The main window: its controls (FormControls), the handlers bound to
// them, and the view through which a ranking run reports.
//
// Every handler runs through ErrorDisplay::Guard (see Connect), so an
// error that leaves it is shown and the window stays usable.
//
// The window reads its settings file once, when it is created, and writes
// it once, when it is destroyed; the file stays open as one ProfileFile in
// between.

#include <QWidget>
#include <memory>
#include <string>

#include "error_display.h"
#include "form_controls.h"
#include "log_lines.h"
#include "profile_file.h"
#include "run_view.h"

namespace junmaru::window {

class TForm1 : public QWidget, public FormControls, public junmaru::RunView {
  Q_OBJECT

 public:
  // settings_path: the settings file to read now and write at destruction;
  // the program passes ProgramSettingsPath(), tests a file of their own.
  explicit TForm1(std::string settings_path, QWidget* parent = nullptr);
  ~TForm1() override;

  // "junmaru_setting.ini" in the folder of the program's executable.
  static std::string ProgramSettingsPath();

  // What the window holds for as long as it lives; each log load or file
  // choice replaces them.
  junmaru::LogLines& Lines() { return log_lines_; }
  std::string& ReadPass() { return read_pass_; }  // native bytes
  std::string& SavePass() { return save_pass_; }  // native bytes

  // GO: one ranking run over the chosen lines, written to SavePass.
  void BtnGoClick();

  // Choosing the log (which also sets the report path beside it) and the
  // report file, through the two dialogs.
  void BtnReadClick();
  void BtnSaveClick();
  // Loads the log at log_path and takes report_path as the report's place;
  // shows both paths, the line count, the first and last timestamps, and
  // offers the log's lines as the range when they read well.
  void DataSet(const std::string& log_path, const std::string& report_path);
  // The range spinners: each labels its line with the line's timestamp and
  // pushes the other one so that the start stays below the end.
  void PStartChange();
  void PEndChange();
  // Prefix is editable, on white, exactly while Link is checked.
  void LinkClick();

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

  // After a load of fewer than two lines: no range is offered and GO is
  // off; the range labels no longer describe a loaded line.
  void OfferNoRange();

  // Binds a control's signal to a handler that runs under the error display.
  template <class Sender, class Signal>
  void Connect(Sender* sender, Signal signal, void (TForm1::*handler)()) {
    connect(sender, signal, this, [this, handler] { ErrorDisplay::Guard(this, [this, handler] { (this->*handler)(); }); });
  }

  const std::string settings_path_;
  std::unique_ptr<junmaru::ProfileFile> settings_file_;  // from FormCreate to FormDestroy
  junmaru::LogLines log_lines_;
  std::string read_pass_;  // "0" when none was ever chosen
  std::string save_pass_;  // "0" when none was ever chosen
};

}  // namespace junmaru::window
