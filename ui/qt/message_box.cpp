#include "message_box.h"

#include <QMessageBox>

#include "error_text.h"
#include "widget_text.h"

namespace junmaru::window {
namespace {

MessageBox::Recorder& TheRecorder() {
  static MessageBox::Recorder recorder;
  return recorder;
}

}  // namespace

void MessageBox::Error(QWidget* parent, const std::string& cp932_text) { Show(parent, Kind::kError, cp932_text); }

void MessageBox::Information(QWidget* parent, const std::string& cp932_text) {
  Show(parent, Kind::kInformation, cp932_text);
}

void MessageBox::SetRecorder(Recorder recorder) { TheRecorder() = std::move(recorder); }

void MessageBox::Show(QWidget* parent, Kind kind, const std::string& cp932_text) {
  const QString caption = Ui(form::AppTitle());
  const QString text = Ui(cp932_text);
  if (TheRecorder()) {
    TheRecorder()(kind, caption, text);
    return;
  }
  QMessageBox box(kind == Kind::kError ? QMessageBox::Critical : QMessageBox::Information, caption, text,
                  QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace junmaru::window
