#include "t_form1.h"

#include <algorithm>
#include <new>

#include "colour_ref.h"
#include "cp932.h"
#include "error.h"
#include "error_text.h"
#include "file_io.h"
#include "form_settings.h"
#include "log_selection.h"
#include "log_timestamp.h"
#include "messages.h"
#include "ranking_to_page.h"
#include "report_path.h"
#include "settings.h"
#include "spin_value.h"

namespace junmaru::form {
namespace {

// The settings file holds "0" for a path that was never chosen.
const char kNoPath[] = "0";

// The fewest lines that make a range: the start must lie below the end.
constexpr std::size_t kRangeLines = 2;

// The controls the handlers drive.
constexpr ControlId kPassRead = Control("PassRead"), kPassSave = Control("PassSave");
constexpr ControlId kLogLine = Control("LogLine"), kLogFirst = Control("LogFirst"), kLogLast = Control("LogLast");
constexpr ControlId kPStart = Control("PStart"), kPEnd = Control("PEnd");
constexpr ControlId kLogStart = Control("LogStart"), kLogEnd = Control("LogEnd");
constexpr ControlId kLink = Control("Link"), kPrefix = Control("Prefix");
constexpr ControlId kOpenDialog = Control("OpenDialog"), kSaveDialog = Control("SaveDialog");
constexpr ControlId kStatus = Control("Status"), kBots = Control("Bots");

// What each range spinner's handler touches: its label, the text after the
// line's timestamp there, and the other spinner, which it pushes to its own
// value plus the offset when the start no longer lies below the end.
struct RangeSpinner {
  ControlId spin;
  ControlId label;
  const char* suffix;
  ControlId other;
  int offset;
};
constexpr RangeSpinner kStartSpinner{kPStart, kLogStart, " から", kPEnd, +1};
constexpr RangeSpinner kEndSpinner{kPEnd, kLogEnd, " までを集計", kPStart, -1};

// Holds a flag up for as long as it lives.
class FlagUp {
 public:
  explicit FlagUp(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagUp() { flag_ = false; }
  FlagUp(const FlagUp&) = delete;
  FlagUp& operator=(const FlagUp&) = delete;

 private:
  bool& flag_;
};

}  // namespace

TForm1::TForm1(ControlSet& controls, std::string settings_path)
    : controls_(controls), settings_path_(std::move(settings_path)) {}

void TForm1::FormCreate() {
  log_lines_ = junmaru::LogLines();
  settings_file_ = std::make_unique<junmaru::ProfileFile>(settings_path_);

  std::vector<junmaru::SettingProblem> problems;
  const junmaru::Settings stored = junmaru::ReadSettings(*settings_file_, &problems);
  as_read_ = stored;
  read_pass_ = stored.ReadPass;
  save_pass_ = stored.SavePass;
  if (read_pass_ != kNoPath && save_pass_ != kNoPath) {
    // A remembered log that cannot be loaded is reported, and every other
    // remembered value is still read: otherwise the close would store the
    // design values over them.
    try {
      DataSet(read_pass_, save_pass_);
    } catch (...) {
      controls_.ShowError(CurrentErrorDisplayText());
    }
  }

  ShowSettings(controls_, stored);
  ReadCountingRules(problems);
}

void TForm1::ReadCountingRules(const std::vector<junmaru::SettingProblem>& problems) {
  for (const junmaru::SettingProblem& problem : problems)
    controls_.ShowError(problem.message + junmaru::messages::CountRuleTurnedOff(std::string(problem.key)));
  if (controls_.Checked(kBots)) LoadCrawlers();
}

void TForm1::LoadCrawlers() {
  if (crawlers_) return;
  try {
    crawlers_ = junmaru::ProgramCrawlerList();
    bots_unavailable_ = false;
  } catch (const junmaru::Error& e) {
    bots_unavailable_ = true;
    controls_.ShowError(e.what() + junmaru::messages::CountRuleTurnedOff("Bots"));
  }
}

junmaru::Settings TForm1::RunSettingsOfForm() const {
  junmaru::Settings settings = SettingsOfForm(controls_, as_read_);
  if (bots_unavailable_) settings.Bots = false;
  settings.Crawlers = crawlers_;
  return settings;
}

void TForm1::BtnCountClick() {
  const std::string_view dialog = RowOf(kCountDialog.window).name;
  const junmaru::Settings before = SettingsOfForm(controls_);
  const bool taken = controls_.ShowModal(kCountDialog, [this] {
    const std::string typed = controls_.EditText(kStatus);
    if (junmaru::StatusList::Parse(typed)) return true;
    controls_.ShowError(junmaru::messages::StatusListTyped(typed));
    return false;
  });
  if (!taken) {
    ShowSettings(controls_, before, dialog);
    return;
  }
  if (controls_.Checked(kBots)) LoadCrawlers();
}

void TForm1::FormDestroy() {
  log_lines_ = junmaru::LogLines();
  if (!settings_file_) return;
  junmaru::Settings current = SettingsOfForm(controls_, as_read_);
  current.ReadPass = read_pass_;
  current.SavePass = save_pass_;
  junmaru::WriteSettings(*settings_file_, current, as_read_);
  // The whole file is replaced at once, or left as it was with the error shown.
  settings_file_->Close();
  settings_file_.reset();
}

void TForm1::BtnGoClick() {
  // GO is off for a log without a range; a run never reads lines that are not there.
  if (log_lines_.Count() < kRangeLines) return;
  TakeTypedSpinValues();
  if (status_tells_failed_run_) {
    // The failure is behind this run; a new failure sets the colour again.
    controls_.SetStatusColour(junmaru::StatusColour::kNormal);
    status_tells_failed_run_ = false;
  }
  try {
    const junmaru::Settings settings = RunSettingsOfForm();
    junmaru::RunRankingToPage(log_lines_, settings, save_pass_, controls_,
                              settings.Export ? junmaru::ExportsBesidePage(save_pass_) : junmaru::RankingExports());
  } catch (...) {
    // The run stopped: the status line says why, and the gauge no longer
    // stands where the run was; the error display shows it as well.
    controls_.SetProgress(0);
    controls_.SetGaugeBackground(junmaru::GaugeBackground::kIdle);
    controls_.SetStatusColour(junmaru::StatusColour::kError);
    controls_.SetStatusText(CurrentErrorDisplayText());
    status_tells_failed_run_ = true;
    throw;
  }
}

void TForm1::TakeTypedSpinValues() {
  // A run started from the keyboard (Alt+G, or Enter on a focused GO) may
  // find a value typed into a spin edit outside its limits, not yet taken,
  // because the box still has the focus. It is taken now as leaving the
  // box takes it: set again within the limits, which runs its handler.
  for (std::uint16_t i = 0; i < kControlCount; ++i) {
    if (kControls[i].kind != Kind::kSpinEdit || WindowOf(kControls[i]) != "Form1") continue;
    const ControlId spin{i};
    const std::int32_t value = controls_.SpinValue(spin);
    if (SpinValueOutside(value, controls_.SpinMin(spin), controls_.SpinMax(spin))) {
      controls_.SetSpinValue(spin, value);
    }
  }
}

void TForm1::BtnReadClick() {
  const std::optional<std::string> chosen = controls_.Execute(kOpenDialog);
  if (!chosen) return;
  // A newly chosen log always brings the report path beside it.
  DataSet(*chosen, junmaru::ReportPathFor(*chosen));
}

void TForm1::BtnSaveClick() {
  const std::optional<std::string> chosen = controls_.Execute(kSaveDialog);
  if (!chosen) return;
  save_pass_ = *chosen;
  controls_.SetCaption(kPassSave, ShownPath(save_pass_, kChosenReportLimit));
}

void TForm1::DataSet(const std::string& log_path, const std::string& report_path) {
  // Whatever the status line said concerned the earlier log or run; the
  // text goes with its colour, so that it never names a problem this load
  // does not have.
  controls_.SetStatusColour(junmaru::StatusColour::kNormal);
  controls_.SetStatusText(junmaru::Sjis("待機中"));
  status_tells_failed_run_ = false;
  read_pass_ = log_path;
  controls_.SetCaption(kPassRead, ShownPath(read_pass_, kLoadedPathLimit));
  save_pass_ = report_path;
  controls_.SetCaption(kPassSave, ShownPath(save_pass_, kLoadedPathLimit));

  if (!junmaru::FileExists(read_pass_)) {
    // The log loaded before, if any, stays usable.
    controls_.SetStatusColour(junmaru::StatusColour::kError);
    controls_.SetStatusText(junmaru::messages::LogFileMissing());
    return;
  }

  try {
    log_lines_.LoadFromFile(read_pass_);  // keeps the old lines when it fails
  } catch (const std::bad_alloc&) {
    // A log too large for the memory left is named, as junmaru-batch names it.
    throw junmaru::Error(junmaru::messages::OutOfMemoryReading(junmaru::PathForMessage(read_pass_)));
  }
  const std::size_t count = log_lines_.Count();
  controls_.SetCaption(kLogLine, std::to_string(count) + junmaru::Sjis(" 行"));
  if (count == 0) {
    // The old log is gone, so its range and GO go too; the load is still
    // reported as failed, on its first line.
    OfferNoRange(count);
    controls_.SetCaption(kLogFirst, std::string());
    controls_.SetCaption(kLogLast, std::string());
    throw junmaru::Error(junmaru::messages::ListIndexOutOfRange(0));
  }
  controls_.SetCaption(kLogFirst, junmaru::Date(log_lines_, 0, controls_));
  controls_.SetCaption(kLogLast, junmaru::Date(log_lines_, static_cast<long long>(count) - 1, controls_));
  // A first or last line without a timestamp has disabled GO and the range.
  if (controls_.StatusShowsError()) return;

  if (count < kRangeLines) {
    OfferNoRange(count);
  } else {
    controls_.SetSpinMax(kPStart, static_cast<std::int32_t>(count - 1));
    controls_.SetSpinMax(kPEnd, static_cast<std::int32_t>(count));
    // Only the first and the last line are read here, and both read well:
    // the handlers run once, on the final values, so that no line in
    // between is looked at on the way there.
    {
      const FlagUp settling(range_settling_);
      controls_.SetSpinValue(kPStart, 1);
      controls_.SetSpinValue(kPEnd, static_cast<std::int64_t>(count));
    }
    PStartChange();
    PEndChange();
    controls_.EnableRun(true);
  }
  controls_.SetProgress(0);
  controls_.SetGaugeBackground(junmaru::GaugeBackground::kIdle);
  if (count >= kRangeLines) controls_.SetStatusText(junmaru::Sjis("待機中（ログ読み込み完了）"));
}

void TForm1::OfferNoRange(std::size_t line_count) {
  controls_.EnableRun(false);
  controls_.SetStatusColour(junmaru::StatusColour::kError);
  controls_.SetStatusText(junmaru::messages::LogTooShort());
  {
    const FlagUp settling(range_settling_);
    controls_.SetSpinText(kPStart, std::to_string(std::min<std::size_t>(line_count, 1)));
    controls_.SetSpinText(kPEnd, std::to_string(line_count));
  }
  controls_.SetCaption(kLogStart, std::string());
  controls_.SetCaption(kLogEnd, std::string());
}

void TForm1::PStartChange() { RangeChange(kPStart); }

void TForm1::PEndChange() { RangeChange(kPEnd); }

void TForm1::RangeChange(ControlId spin) {
  if (range_settling_) return;
  const RangeSpinner& r = spin == kPStart ? kStartSpinner : kEndSpinner;
  const std::int32_t value = controls_.SpinValue(r.spin);
  switch (RangeActionFor(value, controls_.SpinMin(r.spin), controls_.SpinMax(r.spin), log_lines_.Count())) {
    case RangeAction::kIgnore:
      return;
    case RangeAction::kPullBack:
      controls_.SetSpinText(r.spin, std::to_string(controls_.SpinMin(r.spin)));  // runs this handler again
      return;
    case RangeAction::kShow:
      break;
  }
  controls_.SetCaption(r.label, junmaru::Date(log_lines_, value - 1, controls_) + junmaru::Sjis(r.suffix));
  if (controls_.SpinValue(kPStart) >= controls_.SpinValue(kPEnd)) {
    controls_.SetSpinValue(r.other, static_cast<std::int64_t>(controls_.SpinValue(r.spin)) + r.offset);
  }
}

void TForm1::LinkClick() {
  const bool on = controls_.Checked(kLink);
  controls_.SetEditEnabled(kPrefix, on);
  controls_.SetEditColour(kPrefix, on ? colours::kWhite : colours::kGaugeIdle);
}

}  // namespace junmaru::form
