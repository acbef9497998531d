#include "application.h"

#include "error_display.h"
#include "error_text.h"
#include "widget_text.h"

namespace junmaru::window {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(Ui(form::AppTitle()));
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ErrorDisplay::ShowCurrent(activeWindow());
    return true;
  }
}

}  // namespace junmaru::window
