#pragma once

// The program's application object: the program's title, the window's
// Japanese face for every window, dialog and message box, and Qt's own
// texts (the file dialogs' labels and buttons) in Japanese.
//
// Handlers of the window run inside ErrorDisplay::Guard; notify is the last
// line behind it, for an exception thrown from any other event handler,
// shown by the same error display.

#include <QApplication>
#include <QTranslator>

namespace junmaru::window {

class Application : public QApplication {
  Q_OBJECT

 public:
  Application(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // Whether Qt's Japanese texts were found and installed. Without them
  // (the translations are not installed) Qt's dialogs speak English and
  // everything else works as before.
  bool HasQtTranslation() const { return has_qt_translation_; }

 private:
  QTranslator qt_texts_;
  bool has_qt_translation_ = false;
};

}  // namespace junmaru::window
