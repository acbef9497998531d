#pragma once

// The program's application object. Handlers of the window run inside
// ErrorDisplay::Guard; this is the last line behind it, for an exception
// thrown from any other event handler, shown by the same error display.

#include <QApplication>

namespace junmaru::window {

class Application : public QApplication {
  Q_OBJECT

 public:
  Application(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace junmaru::window
