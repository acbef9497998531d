#pragma once

// The main window's form: the handlers bound to its controls, written once
// for every window, and what the window holds between them (the loaded log
// and the two paths). It sees the controls only through a ControlSet.
//
// The form reads its settings file once, in FormCreate, and writes it once,
// in FormDestroy; the file stays open as one ProfileFile in between.
//
// A handler fails with an exception carrying the system's message; the
// window runs every handler so that such an error is shown by the error
// display and goes no further.

#include <memory>
#include <string>

#include "control_set.h"
#include "log_lines.h"
#include "crawler_list.h"
#include "profile_file.h"
#include "settings.h"

namespace junmaru::form {

class TForm1 {
 public:
  // controls: the window's controls, which outlive the form. settings_path:
  // the settings file to read and write; the program passes the one beside
  // its executable, tests a file of their own.
  TForm1(ControlSet& controls, std::string settings_path);
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // The window runs FormCreate once its controls stand with their design
  // values, and FormDestroy when it closes, while they still stand.
  void FormCreate();
  void FormDestroy();

  // What the window holds for as long as it lives; each log load or file
  // choice replaces them.
  junmaru::LogLines& Lines() { return log_lines_; }
  std::string& ReadPass() { return read_pass_; }  // native bytes
  std::string& SavePass() { return save_pass_; }  // native bytes

  // GO: one ranking run over the chosen lines, written to SavePass (with
  // Export on, also as ranking.csv and ranking.json beside it). A
  // value typed into a spin edit beyond its limits is first taken as
  // leaving the box would take it. A run that fails leaves its error on the
  // status line, in the error colour, and the gauge at 0 on grey.
  void BtnGoClick();

  // Choosing the log (which also sets the report path beside it) and the
  // report file, through the two dialogs.
  void BtnReadClick();
  void BtnSaveClick();
  // Loads the log at log_path and takes report_path as the report's place;
  // shows both paths, the line count, the first and last timestamps, and
  // offers the log's lines as the range when they read well. The status
  // line starts again from "待機中" on the normal colour.
  void DataSet(const std::string& log_path, const std::string& report_path);
  // The range spinners: each labels its line with the line's timestamp and
  // pushes the other one so that the start stays below the end.
  void PStartChange();
  void PEndChange();
  // Prefix is editable, on white, exactly while Link is checked.
  void LinkClick();
  // The dialog of the counting rules: OK takes its values for the next
  // runs (and for the settings file at close) once the status list reads
  // well; Cancel puts back the values it had when it opened.
  void BtnCountClick();

 private:
  // After a load of fewer than two lines: no range is offered and GO is
  // off, which the status line says in the error colour; the disabled
  // range boxes show the lines the log has, and their labels describe none.
  void OfferNoRange(std::size_t line_count);
  // The handler of one range spinner; the other spinner is pushed so that
  // the start stays below the end.
  void RangeChange(ControlId spin);
  void TakeTypedSpinValues();

  // The counting rules' problems as read at the start are shown (the rule
  // stays off); the crawler list is read when Bots is on.
  void ReadCountingRules(const std::vector<junmaru::SettingProblem>& problems);
  // Reads the crawler list for Bots, once; when it cannot be read, says so
  // and leaves Bots off for the runs (the check box keeps its state).
  void LoadCrawlers();
  // The record a run reads: the controls' values, Bots off while the
  // crawler list is missing.
  junmaru::Settings RunSettingsOfForm() const;

  ControlSet& controls_;
  const std::string settings_path_;
  junmaru::Settings as_read_;              // the settings file as read at the start
  bool bots_unavailable_ = false;          // the crawler list could not be read
  std::shared_ptr<const junmaru::CrawlerList> crawlers_;
  std::unique_ptr<junmaru::ProfileFile> settings_file_;  // from FormCreate to FormDestroy
  junmaru::LogLines log_lines_;
  std::string read_pass_;  // "0" when none was ever chosen
  std::string save_pass_;  // "0" when none was ever chosen
  // While DataSet puts the new range in place, the range handlers wait for
  // the final values instead of reading every line on the way.
  bool range_settling_ = false;
  // The status line shows the error of a failed run (in the error colour,
  // which the next run clears).
  bool status_tells_failed_run_ = false;
};

// The handler each control's event runs, bound by both windows: a
// button's click, a spin edit's change of text, a check box's change of
// state. Every one runs under the window's error display.
struct HandlerBinding {
  ControlId control;
  void (TForm1::*handler)();
};
inline constexpr HandlerBinding kHandlers[] = {
    {Control("BtnRead"), &TForm1::BtnReadClick}, {Control("BtnSave"), &TForm1::BtnSaveClick},
    {Control("BtnGo"), &TForm1::BtnGoClick},     {Control("PStart"), &TForm1::PStartChange},
    {Control("PEnd"), &TForm1::PEndChange},      {Control("Link"), &TForm1::LinkClick},
    {Control("BtnCount"), &TForm1::BtnCountClick},
};

}  // namespace junmaru::form
