#include "main_window.h"

#include <QIcon>
#include <QLineEdit>
#include <QPushButton>

#include "check_box.h"
#include "colour_ref.h"
#include "cp932.h"
#include "file_dialog.h"
#include "file_io.h"
#include "label.h"
#include "memo.h"
#include "message_box.h"
#include "progress_gauge.h"
#include "spin_edit.h"
#include "status_line.h"
#include "widget_text.h"
#include "window_font.h"

namespace junmaru::window {
namespace {

// The widget of each control the form names, in the order of its enum.
Label* FormControls::* const kCaptions[] = {&FormControls::PassRead, &FormControls::PassSave,
                                            &FormControls::LogLine,  &FormControls::LogFirst,
                                            &FormControls::LogLast,  &FormControls::LogStart,
                                            &FormControls::LogEnd};
SpinEdit* FormControls::* const kSpins[] = {&FormControls::PStart, &FormControls::PEnd, &FormControls::PRank,
                                            &FormControls::FontSize, &FormControls::NameMax};
CheckBox* FormControls::* const kChecks[] = {&FormControls::CDouga, &FormControls::COnsei, &FormControls::CSyoko,
                                             &FormControls::CJpeg,  &FormControls::CGazou, &FormControls::CText,
                                             &FormControls::CExe,   &FormControls::CHtml,  &FormControls::CCss,
                                             &FormControls::CCgi,   &FormControls::Link};
QLineEdit* FormControls::* const kEdits[] = {&FormControls::CBG,    &FormControls::CBorder, &FormControls::CText1,
                                             &FormControls::CText2, &FormControls::CLink,   &FormControls::ALink,
                                             &FormControls::VLink,  &FormControls::Prefix};

template <class Widget, std::size_t N, class Id>
Widget* Of(const FormControls& c, Widget* FormControls::* const (&table)[N], Id id) {
  return c.*table[static_cast<std::size_t>(id)];
}

}  // namespace

MainWindow::MainWindow(std::string settings_path, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      form::TForm1(*this, std::move(settings_path)) {
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

MainWindow::~MainWindow() {
  // The window is on its way out: the error display stands on its own.
  ErrorDisplay::Guard(nullptr, [this] { FormDestroy(); });
}

void MainWindow::SetCaption(form::Caption caption, const std::string& text) {
  Of(*this, kCaptions, caption)->SetCaption(text);
}

std::string MainWindow::SpinText(form::Spin spin) const { return Of(*this, kSpins, spin)->Text(); }

void MainWindow::SetSpinText(form::Spin spin, const std::string& text) { Of(*this, kSpins, spin)->SetText(text); }

std::int32_t MainWindow::SpinMin(form::Spin spin) const { return Of(*this, kSpins, spin)->MinValue(); }

std::int32_t MainWindow::SpinMax(form::Spin spin) const { return Of(*this, kSpins, spin)->MaxValue(); }

void MainWindow::SetSpinMax(form::Spin spin, std::int32_t maximum) { Of(*this, kSpins, spin)->SetMaxValue(maximum); }

bool MainWindow::Checked(form::Check check) const { return Of(*this, kChecks, check)->isChecked(); }

void MainWindow::SetChecked(form::Check check, bool checked) { Of(*this, kChecks, check)->setChecked(checked); }

std::string MainWindow::EditText(form::Edit edit) const { return FromUi(Of(*this, kEdits, edit)->text()); }

void MainWindow::SetEditText(form::Edit edit, const std::string& text) {
  QLineEdit* widget = Of(*this, kEdits, edit);
  const QString shown = Ui(text);
  if (widget->text() != shown) widget->setText(shown);
}

void MainWindow::SetEditEnabled(form::Edit edit, bool enabled) { Of(*this, kEdits, edit)->setEnabled(enabled); }

void MainWindow::SetEditColour(form::Edit edit, std::uint32_t colour) { SetBaseColour(Of(*this, kEdits, edit), colour); }

std::vector<std::string> MainWindow::MemoLines() { return Marukin->Lines(); }

void MainWindow::SetMemoLines(const std::vector<std::string>& lines) { Marukin->SetLines(lines); }

std::optional<std::string> MainWindow::Execute(form::Dialog dialog) {
  const FileDialog& shown = dialog == form::Dialog::kOpenDialog ? *OpenDialog : *SaveDialog;
  return shown.Execute(this, std::string());
}

void MainWindow::ShowError(const std::string& text) { MessageBox::Error(this, text); }

void MainWindow::SetStatusText(const std::string& text) { State->SetCaption(text); }

void MainWindow::SetStatusColour(junmaru::StatusColour colour) {
  State->SetErrorColour(colour == junmaru::StatusColour::kError);
}

bool MainWindow::StatusShowsError() const { return State->ShowsError(); }

void MainWindow::SetProgress(long long progress) { Gauge->SetProgress(progress); }

void MainWindow::SetGaugeBackground(junmaru::GaugeBackground background) {
  Gauge->SetBackColour(form::GaugeColour(background));
}

void MainWindow::RepaintNow() { repaint(); }

void MainWindow::EnableRun(bool enabled) {
  BtnGo->setEnabled(enabled);
  PStart->setEnabled(enabled);
  PEnd->setEnabled(enabled);
}

void MainWindow::ShowMessage(const std::string& text) { MessageBox::Information(this, text); }

}  // namespace junmaru::window
