// The spin edit: value read from the text, clamping when set, stepping,
// clamping on focus loss, the two typing modes, and the change signal.

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "spin_edit.h"
#include "spin_value.h"
#include "test_support.h"

using junmaru::window::SpinEdit;

class TestSpinEdit : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void readsTextAsValue_data();
  void readsTextAsValue();
  void setValueClamps_data();
  void setValueClamps();
  void stepsByIncrement_data();
  void stepsByIncrement();
  void focusLossClampsOutsideLimits_data();
  void focusLossClampsOutsideLimits();
  void numberTypingTakesOnlyNumberKeys_data();
  void numberTypingTakesOnlyNumberKeys();
  void stepOnlyRefusesEditing_data();
  void stepOnlyRefusesEditing();
  void changedOnlyOnRealTextChange();
  void emptiedEditReadsMinimum();
  void wideValueShowsLeadingDigits_data();
  void wideValueShowsLeadingDigits();

 private:
  SpinEdit* Make(SpinEdit::Typing typing, int minimum, int maximum, int increment, const QString& text);

  QWidget* host_ = nullptr;
  QLineEdit* elsewhere_ = nullptr;
};

void TestSpinEdit::init() {
  host_ = new QWidget;
  host_->resize(300, 100);
  elsewhere_ = new QLineEdit(host_);
  elsewhere_->setGeometry(150, 10, 100, 22);
}

void TestSpinEdit::cleanup() {
  delete host_;
  host_ = nullptr;
}

SpinEdit* TestSpinEdit::Make(SpinEdit::Typing typing, int minimum, int maximum, int increment, const QString& text) {
  auto* spin = new SpinEdit(host_, typing);
  spin->setGeometry(10, 10, 89, 22);
  spin->SetMinValue(minimum);
  spin->SetMaxValue(maximum);
  spin->SetIncrement(increment);
  spin->SetText(text.toStdString());
  return spin;
}

void TestSpinEdit::readsTextAsValue_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("minimum");
  QTest::addColumn<int>("value");
  QTest::newRow("plain number") << "42" << 1 << 42;
  QTest::newRow("plus sign") << "+7" << 1 << 7;
  QTest::newRow("minus sign") << "-3" << 1 << -3;
  QTest::newRow("beyond maximum is read as typed") << "50" << 1 << 50;
  QTest::newRow("below minimum is read as typed") << "0" << 1 << 0;
  QTest::newRow("empty reads minimum") << "" << 1 << 1;
  QTest::newRow("letters read minimum") << "abc" << 10 << 10;
  QTest::newRow("digits then letter read minimum") << "12a" << 2 << 2;
  QTest::newRow("sign alone reads minimum") << "-" << 2 << 2;
  QTest::newRow("leading space reads minimum") << " 5" << 2 << 2;
  QTest::newRow("decimal point reads minimum") << "1.5" << 1 << 1;
  QTest::newRow("largest 32-bit") << "2147483647" << 1 << 2147483647;
  QTest::newRow("smallest 32-bit") << "-2147483648" << 1 << static_cast<int>(-2147483648LL);
  QTest::newRow("one past 32 bits reads minimum") << "2147483648" << 1 << 1;
  QTest::newRow("one below 32 bits reads minimum") << "-2147483649" << 1 << 1;
  QTest::newRow("twenty digits read minimum") << "99999999999999999999" << 10 << 10;
}

void TestSpinEdit::readsTextAsValue() {
  QFETCH(QString, text);
  QFETCH(int, minimum);
  QFETCH(int, value);
  SpinEdit* spin = Make(SpinEdit::Typing::kNumber, minimum, 10, 1, text);
  QCOMPARE(spin->Value(), value);
}

void TestSpinEdit::setValueClamps_data() {
  QTest::addColumn<int>("minimum");
  QTest::addColumn<int>("maximum");
  QTest::addColumn<qlonglong>("value");
  QTest::addColumn<QString>("shown");
  QTest::newRow("PRank 5 shows 10") << 10 << 10000 << 5LL << "10";
  QTest::newRow("PRank 20000 shows 10000") << 10 << 10000 << 20000LL << "10000";
  QTest::newRow("inside the limits") << 10 << 10000 << 15LL << "15";
  QTest::newRow("negative below minimum") << 1 << 10 << -4LL << "1";
  QTest::newRow("equal limits take a lower value") << 1 << 1 << 0LL << "0";
  QTest::newRow("equal limits take a higher value") << 1 << 1 << 5000LL << "5000";
}

void TestSpinEdit::setValueClamps() {
  QFETCH(int, minimum);
  QFETCH(int, maximum);
  QFETCH(qlonglong, value);
  QFETCH(QString, shown);
  SpinEdit* spin = Make(SpinEdit::Typing::kStepOnly, minimum, maximum, 10, "100");
  spin->SetValue(value);
  QCOMPARE(spin->Editor()->text(), shown);
}

void TestSpinEdit::stepsByIncrement_data() {
  QTest::addColumn<QString>("start");
  QTest::addColumn<QString>("action");
  QTest::addColumn<QString>("shown");
  QTest::newRow("up button adds the increment to 15") << "15" << "up button" << "25";
  QTest::newRow("Up key adds the increment") << "15" << "Up key" << "25";
  QTest::newRow("down button clamps at minimum") << "15" << "down button" << "10";
  QTest::newRow("Down key at minimum stays") << "10" << "Down key" << "10";
  QTest::newRow("up near maximum clamps") << "9995" << "up button" << "10000";
  QTest::newRow("up from a non-number starts at minimum") << "abc" << "Up key" << "20";
  QTest::newRow("up from beyond maximum clamps") << "20000" << "up button" << "10000";
}

void TestSpinEdit::stepsByIncrement() {
  QFETCH(QString, start);
  QFETCH(QString, action);
  QFETCH(QString, shown);
  SpinEdit* spin = Make(SpinEdit::Typing::kStepOnly, 10, 10000, 10, start);
  host_->show();
  const auto buttons = spin->findChildren<QToolButton*>();
  QCOMPARE(buttons.size(), 2);
  QToolButton* up = buttons[0]->arrowType() == Qt::UpArrow ? buttons[0] : buttons[1];
  QToolButton* down = up == buttons[0] ? buttons[1] : buttons[0];
  if (action == "up button") QTest::mouseClick(up, Qt::LeftButton);
  if (action == "down button") QTest::mouseClick(down, Qt::LeftButton);
  if (action == "Up key") QTest::keyClick(spin->Editor(), Qt::Key_Up);
  if (action == "Down key") QTest::keyClick(spin->Editor(), Qt::Key_Down);
  QCOMPARE(spin->Editor()->text(), shown);
}

void TestSpinEdit::focusLossClampsOutsideLimits_data() {
  QTest::addColumn<int>("minimum");
  QTest::addColumn<int>("maximum");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("after");
  QTest::newRow("above maximum") << 1 << 10 << "50" << "10";
  QTest::newRow("below minimum") << 1 << 10 << "0" << "1";
  QTest::newRow("inside stays as typed") << 1 << 10 << "+5" << "+5";
  QTest::newRow("non-number reads minimum and stays") << 1 << 10 << "x" << "x";
  QTest::newRow("equal limits accept anything") << 3 << 3 << "9" << "9";
}

void TestSpinEdit::focusLossClampsOutsideLimits() {
  QFETCH(int, minimum);
  QFETCH(int, maximum);
  QFETCH(QString, typed);
  QFETCH(QString, after);
  SpinEdit* spin = Make(SpinEdit::Typing::kNumber, minimum, maximum, 1, "1");
  host_->show();
  host_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(host_));
  spin->setFocus();
  QVERIFY(spin->Editor()->hasFocus());
  spin->Editor()->setText(typed);
  elsewhere_->setFocus();
  QVERIFY(!spin->Editor()->hasFocus());
  QCOMPARE(spin->Editor()->text(), after);
}

void TestSpinEdit::numberTypingTakesOnlyNumberKeys_data() {
  QTest::addColumn<QString>("keys");
  QTest::addColumn<int>("extraKey");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<int>("refusals");
  QTest::newRow("digits") << "123" << 0 << "123" << 0;
  QTest::newRow("a letter is refused") << "a" << 0 << "" << 1;
  QTest::newRow("letters between digits") << "1x2y" << 0 << "12" << 2;
  QTest::newRow("signs") << "+-" << 0 << "+-" << 0;
  QTest::newRow("decimal separator") << "1.5" << 0 << "1.5" << 0;
  QTest::newRow("space is refused") << " " << 0 << "" << 1;
  QTest::newRow("Enter is refused") << "7" << int(Qt::Key_Return) << "7" << 1;
  QTest::newRow("keypad Enter is refused") << "7" << int(Qt::Key_Enter) << "7" << 1;
  QTest::newRow("Backspace is taken") << "78" << int(Qt::Key_Backspace) << "7" << 0;
}

void TestSpinEdit::numberTypingTakesOnlyNumberKeys() {
  QFETCH(QString, keys);
  QFETCH(int, extraKey);
  QFETCH(QString, shown);
  QFETCH(int, refusals);
  SpinEdit* spin = Make(SpinEdit::Typing::kNumber, 1, 10, 1, "");
  QSignalSpy refused(spin, &SpinEdit::Refused);
  QTest::keyClicks(spin->Editor(), keys);
  if (extraKey != 0) QTest::keyClick(spin->Editor(), static_cast<Qt::Key>(extraKey));
  QCOMPARE(spin->Editor()->text(), shown);
  QCOMPARE(refused.count(), refusals);
}

void TestSpinEdit::stepOnlyRefusesEditing_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<int>("refusals");
  QTest::newRow("digit") << int(Qt::Key_5) << int(Qt::NoModifier) << "100" << 1;
  QTest::newRow("letter") << int(Qt::Key_A) << int(Qt::NoModifier) << "100" << 1;
  QTest::newRow("Backspace") << int(Qt::Key_Backspace) << int(Qt::NoModifier) << "100" << 1;
  QTest::newRow("Delete") << int(Qt::Key_Delete) << int(Qt::NoModifier) << "100" << 1;
  QTest::newRow("paste is ignored silently") << int(Qt::Key_V) << int(Qt::ControlModifier) << "100" << 0;
  QTest::newRow("cut is ignored silently") << int(Qt::Key_X) << int(Qt::ControlModifier) << "100" << 0;
  QTest::newRow("Up key still steps") << int(Qt::Key_Up) << int(Qt::NoModifier) << "110" << 0;
}

void TestSpinEdit::stepOnlyRefusesEditing() {
  QFETCH(int, key);
  QFETCH(int, modifiers);
  QFETCH(QString, shown);
  QFETCH(int, refusals);
  QApplication::clipboard()->setText(QStringLiteral("999"));
  SpinEdit* spin = Make(SpinEdit::Typing::kStepOnly, 10, 10000, 10, "100");
  spin->Editor()->selectAll();
  QSignalSpy refused(spin, &SpinEdit::Refused);
  QTest::keyClick(spin->Editor(), static_cast<Qt::Key>(key), static_cast<Qt::KeyboardModifiers>(modifiers));
  QCOMPARE(spin->Editor()->text(), shown);
  QCOMPARE(refused.count(), refusals);
}

void TestSpinEdit::changedOnlyOnRealTextChange() {
  SpinEdit* spin = Make(SpinEdit::Typing::kNumber, 10, 10000, 10, "10");
  QSignalSpy changed(spin, &SpinEdit::Changed);
  spin->SetValue(10);
  spin->SetText("10");
  spin->SetValue(5);  // clamps to the 10 already shown
  QCOMPARE(changed.count(), 0);
  spin->SetValue(20);
  QCOMPARE(changed.count(), 1);
  QTest::keyClicks(spin->Editor(), "0");
  QCOMPARE(changed.count(), 2);
}

void TestSpinEdit::emptiedEditReadsMinimum() {
  SpinEdit* spin = Make(SpinEdit::Typing::kNumber, 1, 10, 1, "7");
  spin->Editor()->selectAll();
  QTest::keyClick(spin->Editor(), Qt::Key_Backspace);
  QCOMPARE(spin->Editor()->text(), QString());
  QCOMPARE(spin->Value(), 1);
}

void TestSpinEdit::wideValueShowsLeadingDigits_data() {
  QTest::addColumn<int>("width");
  QTest::addColumn<QString>("how");
  QTest::newRow("FontSize 10000 set by the program") << 49 << "set";
  QTest::newRow("NameMax 10000 set by the program") << 46 << "set";
  QTest::newRow("PRank 10000 set by the program") << 57 << "set";
  QTest::newRow("FontSize 10000 stepped up, then left") << 49 << "step";
  QTest::newRow("PStart typed 10000, then left") << 49 << "typed";
}

// Where the caret's rectangle lies after the edit has been painted (the
// paint decides how far the text is scrolled).
static int CaretLeft(QLineEdit* edit) {
  edit->grab();
  return edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().left();
}

// A value too wide for its box in the box's font is drawn smaller, so that
// every digit shows, from the first; while the box has the focus, the
// caret stays where typing left it.
void TestSpinEdit::wideValueShowsLeadingDigits() {
  QFETCH(int, width);
  QFETCH(QString, how);
  QFont font(QStringLiteral("IPAPGothic"));
  font.setPixelSize(13);
  host_->setFont(font);
  SpinEdit* spin = Make(SpinEdit::Typing::kNumber, 10, 10000, 10, "9990");
  spin->setGeometry(10, 10, width, 22);
  host_->show();
  host_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(host_));
  QLineEdit* edit = spin->Editor();
  if (how == "set") {
    spin->SetValue(10000);
  } else {
    spin->setFocus();
    if (how == "step") {
      QTest::keyClick(edit, Qt::Key_Up);
    } else {
      edit->clear();
      QTest::keyClicks(edit, "10000");
    }
    QCOMPARE(edit->cursorPosition(), 5);
    QVERIFY2(CaretLeft(edit) > edit->width() / 2, "while editing, the caret follows the typing");
    elsewhere_->setFocus();
  }
  QCOMPARE(edit->text(), QStringLiteral("10000"));
  QVERIFY2(CaretLeft(edit) < 5, "the first digit is at the left edge");
  // Every digit shows: with the caret after the last digit, the edit has
  // not scrolled the first one away.
  edit->setCursorPosition(5);
  const int after_last = CaretLeft(edit);
  edit->setCursorPosition(0);
  QCOMPARE(after_last - CaretLeft(edit), edit->fontMetrics().horizontalAdvance(edit->text()));
  QVERIFY(edit->font().pixelSize() < 13);
  // A value that fits again is drawn in the box's own font.
  spin->SetValue(10);
  QCOMPARE(edit->font().pixelSize(), 13);
}

QTEST_MAIN(TestSpinEdit)
#include "TestSpinEdit.moc"
