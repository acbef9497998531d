#pragma once

// A check box that is either checked or unchecked and emits Click() on
// every change of its state, whether the user or the program changed it;
// setting the state it already has emits nothing.

#include <QCheckBox>

namespace junmaru::window {

class CheckBox : public QCheckBox {
  Q_OBJECT

 public:
  CheckBox(const QString& caption, QWidget* parent);

 signals:
  void Click();
};

}  // namespace junmaru::window
