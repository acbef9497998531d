#include "spin_edit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolButton>

#include "cp932.h"
#include "spin_value.h"
#include "widget_text.h"

namespace junmaru::window {
namespace {

constexpr int kButtonWidth = 16;
// A text is never drawn smaller than this share of the widget's font.
constexpr int kSmallestPercent = 50;
// The space QLineEdit keeps between its contents and the text, each side.
constexpr int kLineEditTextMargin = 2;

bool IsEnter(const QKeyEvent* key) { return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter; }

bool IsFocusMove(const QKeyEvent* key) { return key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab; }

}  // namespace

SpinEdit::SpinEdit(QWidget* parent, Typing typing)
    : QWidget(parent), typing_(typing), edit_(new QLineEdit(this)), up_(new QToolButton(this)),
      down_(new QToolButton(this)) {
  setFocusPolicy(Qt::StrongFocus);
  setFocusProxy(edit_);
  edit_->installEventFilter(this);
  // Only digits make sense here; an input method would bypass the typing rules.
  edit_->setAttribute(Qt::WA_InputMethodEnabled, false);
  if (typing_ == Typing::kStepOnly) {
    edit_->setContextMenuPolicy(Qt::NoContextMenu);
    edit_->setAcceptDrops(false);
  }
  for (QToolButton* button : {up_, down_}) {
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRepeat(true);
  }
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  up_->setAccessibleName(Ui(Sjis("増やす")));
  down_->setAccessibleName(Ui(Sjis("減らす")));
  connect(up_, &QToolButton::clicked, this, [this] { StepBy(1); });
  connect(down_, &QToolButton::clicked, this, [this] { StepBy(-1); });
  connect(edit_, &QLineEdit::textChanged, this, &SpinEdit::FitText);
  connect(edit_, &QLineEdit::textChanged, this, &SpinEdit::Changed);
}

std::int32_t SpinEdit::Value() const { return form::SpinValueOf(Text(), minimum_); }

void SpinEdit::SetValue(std::int64_t value) {
  SetText(std::to_string(form::ClampSpinValue(value, minimum_, maximum_)));
}

std::string SpinEdit::Text() const { return FromUi(edit_->text()); }

void SpinEdit::SetText(const std::string& cp932) {
  QString text = Ui(cp932);
  if (text == edit_->text()) return;
  edit_->setText(text);
  if (!edit_->hasFocus()) ShowLeadingDigits();
}

// A value wider than the box shows its first digits, as a native edit
// does, rather than its tail: "10000" in a narrow box must not read "0000".
void SpinEdit::ShowLeadingDigits() { edit_->setCursorPosition(0); }

void SpinEdit::StepBy(int steps) {
  SetValue(static_cast<std::int64_t>(Value()) + static_cast<std::int64_t>(steps) * increment_);
}

void SpinEdit::resizeEvent(QResizeEvent*) {
  const int w = width();
  const int h = height();
  edit_->setGeometry(0, 0, w - kButtonWidth, h);
  up_->setGeometry(w - kButtonWidth, 0, kButtonWidth, h / 2);
  down_->setGeometry(w - kButtonWidth, h / 2, kButtonWidth, h - h / 2);
  FitText();
}

void SpinEdit::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange) FitText();
}

void SpinEdit::FitText() {
  // The room QLineEdit gives its text: the contents inside its frame, less
  // its text margins and the caret's pixel after the last digit.
  QStyleOptionFrame frame;
  frame.initFrom(edit_);
  frame.rect = edit_->rect();
  frame.lineWidth = edit_->hasFrame() ? edit_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, edit_) : 0;
  frame.state |= QStyle::State_Sunken;
  const QMargins margins = edit_->textMargins();
  const int room = edit_->style()->subElementRect(QStyle::SE_LineEditContents, &frame, edit_).width() -
                   margins.left() - margins.right() - 2 * kLineEditTextMargin - 1;

  QFont fitting = font();
  const int full = fitting.pixelSize();
  for (int size = full - 1;
       QFontMetrics(fitting).horizontalAdvance(edit_->text()) > room && size * 100 >= full * kSmallestPercent; --size) {
    fitting.setPixelSize(size);
  }
  if (fitting != edit_->font()) edit_->setFont(fitting);
}

void SpinEdit::Refuse() {
  QApplication::beep();
  emit Refused();
}

bool SpinEdit::FilterKey(QKeyEvent* key) {
  if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
    StepBy(key->key() == Qt::Key_Up ? 1 : -1);
    return true;
  }
  if (IsFocusMove(key)) return false;
  if (typing_ == Typing::kStepOnly) {
    if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::SelectAll)) return false;
    if (key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Cut) ||
        key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)) {
      return true;  // ignored without a beep
    }
    if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete || !key->text().isEmpty()) {
      Refuse();
      return true;
    }
    return false;
  }
  const QString text = key->text();
  if (text.isEmpty()) return false;
  if (IsEnter(key)) {
    Refuse();
    return true;
  }
  const QChar c = text.front();
  const bool control = c.unicode() < 0x20 || c.unicode() == 0x7F;
  const bool number_char =
      (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('+') || c == QLatin1Char('-') ||
      text == QLocale().decimalPoint();
  if (control || number_char) return false;
  Refuse();
  return true;
}

bool SpinEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched != edit_) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::KeyPress:
      return FilterKey(static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn:
      edit_->event(event);
      if (!select_on_focus_) edit_->deselect();
      return true;
    case QEvent::FocusOut: {
      edit_->event(event);
      const std::int32_t value = Value();
      if (form::SpinValueOutside(value, minimum_, maximum_)) SetValue(value);
      ShowLeadingDigits();
      return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
      // A middle click pastes the selection on X11.
      return typing_ == Typing::kStepOnly && static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton;
    default:
      return false;
  }
}

}  // namespace junmaru::window
