#pragma once

// A group box whose frame runs through the middle of its caption, so that
// controls placed from the box's top-left corner sit inside the frame.

#include <QGroupBox>

namespace junmaru::window {

class GroupBox : public QGroupBox {
  Q_OBJECT

 public:
  GroupBox(const QString& caption, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace junmaru::window
