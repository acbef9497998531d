#include "application.h"

#include <QLibraryInfo>
#include <QLocale>

#include "error_display.h"
#include "error_text.h"
#include "widget_text.h"
#include "window_font.h"

namespace junmaru::window {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(Ui(form::AppTitle()));
  setFont(WindowFont());
  // Every text of the program is Japanese, whatever the user's locale, so
  // Qt's own texts are too.
  has_qt_translation_ = qt_texts_.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                        installTranslator(&qt_texts_);
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
