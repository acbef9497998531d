#include "main_window.h"

#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>

#include "check_box.h"
#include "colour_ref.h"
#include "file_dialog.h"
#include "label.h"
#include "memo.h"
#include "message_box.h"
#include "progress_gauge.h"
#include "spin_edit.h"
#include "status_line.h"
#include "widget_text.h"
#include "window_font.h"

namespace junmaru::window {

using form::Control;
using form::ControlId;
using form::kGauge;
using form::kStatusLine;

MainWindow::MainWindow(std::string settings_path, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      form::TForm1(*this, std::move(settings_path)) {
  const form::ControlRow& design = form::RowOf(Control("Form1"));
  setObjectName(QString::fromLatin1(design.name.data(), static_cast<int>(design.name.size())));
  setWindowTitle(Ui(form::DesignText(Control("Form1"))));
  setWindowIcon(QIcon(QStringLiteral(":/junmaru/icon.png")));
  setFont(WindowFont());
  QPalette colours = palette();
  colours.setColor(QPalette::Window, colours.color(QPalette::Button));
  colours.setColor(QPalette::WindowText, QPalette().color(QPalette::WindowText));
  setPalette(colours);
  setAutoFillBackground(true);
  setFixedSize(design.box.width, design.box.height);
  move(design.box.left, design.box.top);

  BuildControls(this, *this);
  BindHandlers();

  ErrorDisplay::Guard(this, [this] { FormCreate(); });
}

MainWindow::~MainWindow() {
  // The window is on its way out: the error display stands on its own.
  ErrorDisplay::Guard(nullptr, [this] { FormDestroy(); });
}

void MainWindow::BindHandlers() {
  for (const form::HandlerBinding& binding : form::kHandlers) {
    switch (form::RowOf(binding.control).kind) {
      case form::Kind::kButton:
        Connect(Get<QPushButton>(binding.control), &QPushButton::clicked, binding.handler);
        break;
      case form::Kind::kSpinEdit:
        Connect(Get<SpinEdit>(binding.control), &SpinEdit::Changed, binding.handler);
        break;
      case form::Kind::kCheckBox:
        Connect(Get<CheckBox>(binding.control), &CheckBox::Click, binding.handler);
        break;
      default:
        break;
    }
  }
}

void MainWindow::SetCaption(ControlId label, const std::string& text) { Get<Label>(label)->SetCaption(text); }

std::string MainWindow::SpinText(ControlId spin) const { return Get<SpinEdit>(spin)->Text(); }

void MainWindow::SetSpinText(ControlId spin, const std::string& text) { Get<SpinEdit>(spin)->SetText(text); }

std::int32_t MainWindow::SpinMin(ControlId spin) const { return Get<SpinEdit>(spin)->MinValue(); }

std::int32_t MainWindow::SpinMax(ControlId spin) const { return Get<SpinEdit>(spin)->MaxValue(); }

void MainWindow::SetSpinMax(ControlId spin, std::int32_t maximum) { Get<SpinEdit>(spin)->SetMaxValue(maximum); }

bool MainWindow::Checked(ControlId check) const { return Get<CheckBox>(check)->isChecked(); }

void MainWindow::SetChecked(ControlId check, bool checked) { Get<CheckBox>(check)->setChecked(checked); }

std::string MainWindow::EditText(ControlId edit) const { return FromUi(Get<QLineEdit>(edit)->text()); }

void MainWindow::SetEditText(ControlId edit, const std::string& text) {
  QLineEdit* widget = Get<QLineEdit>(edit);
  const QString shown = Ui(text);
  if (widget->text() != shown) widget->setText(shown);
}

void MainWindow::SetEditEnabled(ControlId edit, bool enabled) { Get<QLineEdit>(edit)->setEnabled(enabled); }

void MainWindow::SetEditColour(ControlId edit, std::uint32_t colour) { SetBaseColour(Get<QLineEdit>(edit), colour); }

std::vector<std::string> MainWindow::MemoLines(ControlId memo) { return Get<Memo>(memo)->Lines(); }

void MainWindow::SetMemoLines(ControlId memo, const std::vector<std::string>& lines) {
  Get<Memo>(memo)->SetLines(lines);
}

std::optional<std::string> MainWindow::Execute(ControlId dialog) {
  return dialogs[dialog.index]->Execute(this, std::string());
}

bool MainWindow::ShowModal(const form::ModalDialog& d, const std::function<bool()>& accept) {
  auto* dialog = Get<QDialog>(d.window);
  auto* ok = Get<QPushButton>(d.ok);
  ok->setDefault(true);  // Enter presses OK unless another button has the focus
  const QMetaObject::Connection pressed_ok = connect(ok, &QPushButton::clicked, dialog, [this, dialog, &accept] {
    bool taken = false;
    ErrorDisplay::Guard(dialog, [&] { taken = accept(); });
    if (taken) dialog->accept();
  });
  const QMetaObject::Connection pressed_cancel =
      connect(Get<QPushButton>(d.cancel), &QPushButton::clicked, dialog, &QDialog::reject);
  widgets[form::FocusOrder(form::RowOf(d.window).name).ids[0].index]->setFocus();
  const int result = dialog->exec();
  disconnect(pressed_ok);
  disconnect(pressed_cancel);
  return result == QDialog::Accepted;
}

void MainWindow::ShowError(const std::string& text) {
  // Over an open dialog, the box stands over the dialog.
  QWidget* modal = QApplication::activeModalWidget();
  MessageBox::Error(modal ? modal : this, text);
}

void MainWindow::SetStatusText(const std::string& text) { Get<StatusLine>(kStatusLine)->SetCaption(text); }

void MainWindow::SetStatusColour(junmaru::StatusColour colour) {
  Get<StatusLine>(kStatusLine)->SetErrorColour(colour == junmaru::StatusColour::kError);
}

bool MainWindow::StatusShowsError() const { return Get<StatusLine>(kStatusLine)->ShowsError(); }

void MainWindow::SetProgress(long long progress) { Get<ProgressGauge>(kGauge)->SetProgress(progress); }

void MainWindow::SetGaugeBackground(junmaru::GaugeBackground background) {
  Get<ProgressGauge>(kGauge)->SetBackColour(form::GaugeColour(background));
}

void MainWindow::RepaintNow() { repaint(); }

void MainWindow::EnableRun(bool enabled) {
  for (ControlId id : form::kRunControls) widgets[id.index]->setEnabled(enabled);
}

void MainWindow::ShowMessage(const std::string& text) { MessageBox::Information(this, text); }

}  // namespace junmaru::window
