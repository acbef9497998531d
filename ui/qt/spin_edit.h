#pragma once

// An edit with up and down buttons that holds an integer as text.
//
// The value is the text read as a decimal integer (the minimum when it is
// not one); setting a value clamps it to the limits and writes it as text;
// the buttons and the Up/Down keys step by the increment; leaving the edit
// with a value outside the limits sets it again. Changed() is emitted on
// every real change of the text, by the user or by the program. A text
// wider than the box (a wide value in a narrow design box) is drawn in a
// smaller font, so that every digit shows.

#include <QWidget>
#include <cstdint>
#include <string>

#include "spin_value.h"

class QLineEdit;
class QToolButton;

namespace junmaru::window {

class SpinEdit : public QWidget {
  Q_OBJECT

 public:
  // How typed input is treated (form::SpinTyping); kStepOnly here also
  // refuses Backspace, Delete, cut and paste.
  using Typing = form::SpinTyping;

  SpinEdit(QWidget* parent, Typing typing);

  std::int32_t Value() const;
  void SetValue(std::int64_t value);
  std::int32_t MinValue() const { return minimum_; }
  std::int32_t MaxValue() const { return maximum_; }
  void SetMinValue(std::int32_t minimum) { minimum_ = minimum; }
  void SetMaxValue(std::int32_t maximum) { maximum_ = maximum; }
  std::int32_t Increment() const { return increment_; }
  void SetIncrement(std::int32_t increment) { increment_ = increment; }
  // Whether focus by keyboard selects the whole text.
  void SetSelectOnFocus(bool select) { select_on_focus_ = select; }

  std::string Text() const;   // code page 932
  void SetText(const std::string& cp932);
  void StepBy(int steps);

  QLineEdit* Editor() const { return edit_; }

 signals:
  void Changed();
  // A keystroke was refused (the user hears a beep).
  void Refused();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  bool FilterKey(class QKeyEvent* key);
  void Refuse();
  void ShowLeadingDigits();
  // Draws the text in the widget's font, or in the largest smaller one
  // (down to half its size) in which it fits the box.
  void FitText();

  Typing typing_;
  QLineEdit* edit_;
  QToolButton* up_;
  QToolButton* down_;
  std::int32_t minimum_ = 0;
  std::int32_t maximum_ = 100;
  std::int32_t increment_ = 1;
  bool select_on_focus_ = true;
};

}  // namespace junmaru::window
