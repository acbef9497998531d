#pragma once

// A push button that Enter presses when it has the focus, as on Windows
// (Space presses it too). The window has no default button: Enter
// elsewhere does nothing, and in the memo it starts a new line.

#include <QPushButton>

namespace junmaru::window {

class PushButton : public QPushButton {
  Q_OBJECT

 public:
  PushButton(const QString& caption, QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace junmaru::window
