#include "t_form1.h"

#include <QCoreApplication>
#include <QFile>
#include <QFont>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "check_box.h"
#include "colour_ref.h"
#include "cp932.h"
#include "error.h"
#include "file_dialog.h"
#include "file_io.h"
#include "form_run_settings.h"
#include "form_settings.h"
#include "label.h"
#include "log_selection.h"
#include "log_timestamp.h"
#include "message_box.h"
#include "messages.h"
#include "progress_gauge.h"
#include "ranking_page.h"
#include "report_document.h"
#include "settings.h"
#include "spin_edit.h"
#include "status_line.h"
#include "widget_text.h"

namespace junmaru::window {
namespace {

const char kFontFace[] = "ＭＳ Ｐゴシック";

QFont WindowFont() {
  // Where the design face is missing, a Japanese proportional gothic of
  // the same build stands in, the first of these that is installed.
  const QString face = QString::fromUtf8(kFontFace);
  QFont::insertSubstitutions(face, {QStringLiteral("IPAPGothic"), QStringLiteral("VL PGothic"),
                                    QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAGothic")});
  QFont font(face);
  font.setPixelSize(12);
  font.setWeight(QFont::Normal);
  return font;
}

// The settings file holds "0" for a path that was never chosen.
const char kNoPath[] = "0";

// The fewest lines that make a range: the start must lie below the end.
constexpr std::size_t kRangeLines = 2;

}  // namespace

std::string TForm1::ProgramSettingsPath() {
  const std::string folder = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
  return junmaru::PathInFolder(folder, junmaru::kSettingsFileName);
}

TForm1::TForm1(std::string settings_path, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      settings_path_(std::move(settings_path)) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(Ui(Sjis("集計順位丸\u3000通称順位丸 Ver1.4")));
  setWindowIcon(QIcon(QStringLiteral(":/junmaru/icon.png")));
  setFont(WindowFont());
  QPalette colours = palette();
  colours.setColor(QPalette::Window, colours.color(QPalette::Button));
  colours.setColor(QPalette::WindowText, QPalette().color(QPalette::WindowText));
  setPalette(colours);
  setAutoFillBackground(true);
  setFixedSize(645, 507);
  move(269, 158);

  BuildControls(this, *this);
  Connect(BtnGo, &QPushButton::clicked, &TForm1::BtnGoClick);
  Connect(BtnRead, &QPushButton::clicked, &TForm1::BtnReadClick);
  Connect(BtnSave, &QPushButton::clicked, &TForm1::BtnSaveClick);
  Connect(PStart, &SpinEdit::Changed, &TForm1::PStartChange);
  Connect(PEnd, &SpinEdit::Changed, &TForm1::PEndChange);
  Connect(Link, &CheckBox::Click, &TForm1::LinkClick);

  ErrorDisplay::Guard(this, [this] { FormCreate(); });
}

TForm1::~TForm1() {
  // The window is on its way out: the error display stands on its own.
  ErrorDisplay::Guard(nullptr, [this] { FormDestroy(); });
}

void TForm1::FormCreate() {
  log_lines_ = junmaru::LogLines();
  settings_file_ = std::make_unique<junmaru::ProfileFile>(settings_path_);

  junmaru::Settings stored;
  junmaru::ReadPaths(*settings_file_, stored);
  read_pass_ = stored.ReadPass;
  save_pass_ = stored.SavePass;
  if (read_pass_ != kNoPath && save_pass_ != kNoPath) {
    // A remembered log that cannot be loaded is reported, and every other
    // remembered value is still read: otherwise the close would store the
    // design values over them.
    try {
      DataSet(read_pass_, save_pass_);
    } catch (...) {
      ErrorDisplay::ShowCurrent(this);
    }
  }

  junmaru::ReadExtensionFilter(*settings_file_, stored);
  junmaru::ReadRanking(*settings_file_, stored);
  junmaru::ReadHtml(*settings_file_, stored);
  junmaru::ReadExclusionWords(*settings_file_, stored);
  ShowSettings(*this, stored);
}

void TForm1::FormDestroy() {
  log_lines_ = junmaru::LogLines();
  if (!settings_file_) return;
  junmaru::Settings current = SettingsOfForm(*this);
  current.ReadPass = read_pass_;
  current.SavePass = save_pass_;
  junmaru::ProfileFile& file = *settings_file_;
  junmaru::WritePaths(file, current);
  junmaru::WriteExtensionFilter(file, current);
  junmaru::WriteRanking(file, current);
  junmaru::WriteHtml(file, current);
  junmaru::WriteExclusionWords(file, current.KinsiWord);
  // The whole file is replaced at once, or left as it was with the error shown.
  file.Close();
  settings_file_.reset();
}

void TForm1::BtnGoClick() {
  // GO is off for a log without a range; a run never reads lines that are not there.
  if (log_lines_.Count() < kRangeLines) return;
  junmaru::RunRankingToPage(log_lines_, ReadRunSettings(*this), save_pass_, *this);
}

void TForm1::BtnReadClick() {
  const std::optional<std::string> chosen = OpenDialog->Execute(this, std::string());
  if (!chosen) return;
  // A newly chosen log always brings the report path beside it.
  DataSet(*chosen, ReportPathFor(*chosen));
}

void TForm1::BtnSaveClick() {
  const std::optional<std::string> chosen = SaveDialog->Execute(this, std::string());
  if (!chosen) return;
  save_pass_ = *chosen;
  PassSave->SetCaption(form::ShownPath(save_pass_, form::kChosenReportLimit));
}

void TForm1::DataSet(const std::string& log_path, const std::string& report_path) {
  State->SetErrorColour(false);
  read_pass_ = log_path;
  PassRead->SetCaption(form::ShownPath(read_pass_, form::kLoadedPathLimit));
  save_pass_ = report_path;
  PassSave->SetCaption(form::ShownPath(save_pass_, form::kLoadedPathLimit));

  if (!junmaru::FileExists(read_pass_)) {
    // The log loaded before, if any, stays usable.
    State->SetErrorColour(true);
    State->SetCaption(junmaru::messages::LogFileMissing());
    return;
  }

  log_lines_.LoadFromFile(read_pass_);  // keeps the old lines when it fails
  const std::size_t count = log_lines_.Count();
  LogLine->SetCaption(std::to_string(count) + Sjis(" 行"));
  if (count == 0) {
    // The old log is gone, so its range and GO go too; the load is still
    // reported as failed, on its first line.
    OfferNoRange();
    LogFirst->SetCaption(std::string());
    LogLast->SetCaption(std::string());
    throw junmaru::Error(junmaru::messages::ListIndexOutOfRange(0));
  }
  LogFirst->SetCaption(junmaru::Date(log_lines_, 0, *this));
  LogLast->SetCaption(junmaru::Date(log_lines_, static_cast<long long>(count) - 1, *this));
  // A first or last line without a timestamp has disabled GO and the range.
  if (State->ShowsError()) return;

  if (count < kRangeLines) {
    OfferNoRange();
  } else {
    PStart->SetMaxValue(static_cast<std::int32_t>(count - 1));
    PEnd->SetMaxValue(static_cast<std::int32_t>(count));
    {
      // Only the first and the last line are read here, and both read
      // well: the handlers run once, on the final values, so that no line
      // in between is looked at on the way there.
      const QSignalBlocker start_quiet(PStart);
      const QSignalBlocker end_quiet(PEnd);
      PStart->SetValue(1);
      PEnd->SetValue(static_cast<std::int64_t>(count));
    }
    PStartChange();
    PEndChange();
    PStart->setEnabled(true);
    PEnd->setEnabled(true);
    BtnGo->setEnabled(true);
  }
  Gauge->SetProgress(0);
  Gauge->SetBackColour(junmaru::colours::kGaugeIdle);
  State->SetCaption(Sjis("待機中（ログ読み込み完了）"));
}

void TForm1::OfferNoRange() {
  PStart->setEnabled(false);
  PEnd->setEnabled(false);
  BtnGo->setEnabled(false);
  LogStart->SetCaption(std::string());
  LogEnd->SetCaption(std::string());
}

void TForm1::PStartChange() {
  const std::int32_t v = PStart->Value();
  switch (form::RangeActionFor(v, PStart->MinValue(), PStart->MaxValue(), log_lines_.Count())) {
    case form::RangeAction::kIgnore:
      return;
    case form::RangeAction::kPullBack:
      PStart->SetText(std::to_string(PStart->MinValue()));  // runs this handler again
      return;
    case form::RangeAction::kShow:
      break;
  }
  LogStart->SetCaption(junmaru::Date(log_lines_, v - 1, *this) + Sjis(" から"));
  if (PStart->Value() >= PEnd->Value()) PEnd->SetValue(static_cast<std::int64_t>(PStart->Value()) + 1);
}

void TForm1::PEndChange() {
  const std::int32_t w = PEnd->Value();
  switch (form::RangeActionFor(w, PEnd->MinValue(), PEnd->MaxValue(), log_lines_.Count())) {
    case form::RangeAction::kIgnore:
      return;
    case form::RangeAction::kPullBack:
      PEnd->SetText(std::to_string(PEnd->MinValue()));  // runs this handler again
      return;
    case form::RangeAction::kShow:
      break;
  }
  LogEnd->SetCaption(junmaru::Date(log_lines_, w - 1, *this) + Sjis(" までを集計"));
  if (PStart->Value() >= PEnd->Value()) PStart->SetValue(static_cast<std::int64_t>(PEnd->Value()) - 1);
}

void TForm1::LinkClick() {
  const bool on = Link->isChecked();
  Prefix->setEnabled(on);
  SetBaseColour(Prefix, on ? junmaru::colours::kWhite : junmaru::colours::kGaugeIdle);
}

void TForm1::SetStatusText(const std::string& text) { State->SetCaption(text); }

void TForm1::SetStatusColour(junmaru::StatusColour colour) {
  State->SetErrorColour(colour == junmaru::StatusColour::kError);
}

bool TForm1::StatusShowsError() const { return State->ShowsError(); }

void TForm1::SetProgress(long long progress) { Gauge->SetProgress(progress); }

void TForm1::SetGaugeBackground(std::uint32_t colour) { Gauge->SetBackColour(colour); }

void TForm1::RepaintNow() { repaint(); }

void TForm1::SetControlEnabled(junmaru::RunControl control, bool enabled) {
  switch (control) {
    case junmaru::RunControl::kBtnGo:
      BtnGo->setEnabled(enabled);
      break;
    case junmaru::RunControl::kPStart:
      PStart->setEnabled(enabled);
      break;
    case junmaru::RunControl::kPEnd:
      PEnd->setEnabled(enabled);
      break;
  }
}

void TForm1::ShowMessage(const std::string& text) { MessageBox::Information(this, text); }

}  // namespace junmaru::window
