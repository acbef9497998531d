#pragma once

// The status line: a label painted in its own background colour, the
// normal (button-face) colour or the error colour.

#include "label.h"

namespace junmaru::window {

class StatusLine : public Label {
  Q_OBJECT

 public:
  explicit StatusLine(QWidget* parent);

  void SetErrorColour(bool error);
  bool ShowsError() const { return error_; }

 private:
  bool error_ = false;
};

}  // namespace junmaru::window
