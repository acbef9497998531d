#pragma once

// The status line: a label painted in its own background colour, the
// normal (button-face) colour or the error colour. It grows with its text
// up to its room; a longer text is drawn shortened in the middle and shown
// whole as a tooltip (the label's text, which a screen reader reads, stays
// whole).

#include "label.h"

namespace junmaru::window {

class StatusLine : public Label {
  Q_OBJECT

 public:
  StatusLine(QWidget* parent, int room);

  void SetCaption(const std::string& cp932);
  void SetErrorColour(bool error);
  bool ShowsError() const { return error_; }
  // The text as drawn: the whole text, or its ends around an ellipsis.
  QString ShownText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int room_;
  bool error_ = false;
};

}  // namespace junmaru::window
