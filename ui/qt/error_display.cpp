#include "error_display.h"

#include "error_text.h"
#include "message_box.h"

namespace junmaru::window {

void ErrorDisplay::ShowCurrent(QWidget* parent) {
  MessageBox::Error(parent, form::CurrentErrorDisplayText());
}

void ErrorDisplay::Guard(QWidget* parent, const std::function<void()>& handler) {
  try {
    handler();
  } catch (...) {
    ShowCurrent(parent);
  }
}

}  // namespace junmaru::window
