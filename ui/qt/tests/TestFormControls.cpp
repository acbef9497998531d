// The controls as a person meets them with the keyboard, the eyes and a
// screen reader: Enter on a focused button, the disabled link prefix, the
// name of every edit, and captions drawn whole in the stand-in face.

#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <memory>

#include "form_controls.h"
#include "memo.h"
#include "spin_edit.h"
#include "test_support.h"
#include "window_font.h"

using junmaru::form::Control;
using junmaru::window::FormControls;
using junmaru::window::Memo;
using junmaru::window::SpinEdit;
using junmaru::window::testing::Q;

namespace {

// Relative luminance and contrast ratio as WCAG defines them.
double Luminance(QColor c) {
  const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
  return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double Contrast(QColor a, QColor b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace

class TestFormControls : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void enterPressesTheFocusedButton_data();
  void enterPressesTheFocusedButton();
  void enterInTheMemoStartsANewLine();
  void disabledPrefixIsReadable();
  void everyEditHasItsLabelAsName_data();
  void everyEditHasItsLabelAsName();
  void checkBoxCaptionsAreWhole();
  void eachFamilyHasItsCheckBox();

 private:
  QWidget* form_ = nullptr;
  std::unique_ptr<FormControls> c_;
};

void TestFormControls::init() {
  form_ = new QWidget;
  form_->setFont(junmaru::window::WindowFont());
  form_->resize(645, 507);
  c_ = std::make_unique<FormControls>();
  junmaru::window::BuildControls(form_, *c_);
  form_->show();
  form_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(form_));
}

void TestFormControls::cleanup() {
  delete form_;
  form_ = nullptr;
  c_.reset();
}

void TestFormControls::enterPressesTheFocusedButton_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<int>("key");
  QTest::newRow("Return on GO") << "BtnGo" << int(Qt::Key_Return);
  QTest::newRow("keypad Enter on GO") << "BtnGo" << int(Qt::Key_Enter);
  QTest::newRow("Return on F") << "BtnRead" << int(Qt::Key_Return);
  QTest::newRow("Return on S") << "BtnSave" << int(Qt::Key_Return);
  QTest::newRow("Space still presses GO") << "BtnGo" << int(Qt::Key_Space);
}

void TestFormControls::enterPressesTheFocusedButton() {
  QFETCH(QString, button);
  QFETCH(int, key);
  auto* pressed = form_->findChild<QPushButton*>(button);
  QVERIFY(pressed);
  pressed->setEnabled(true);
  pressed->setFocus();
  QVERIFY(pressed->hasFocus());
  QSignalSpy clicks(pressed, &QPushButton::clicked);
  QTest::keyClick(pressed, static_cast<Qt::Key>(key));
  QTRY_COMPARE(clicks.count(), 1);
  // Enter with the focus elsewhere presses nothing.
  c_->Get<QLineEdit>(Control("CBG"))->setFocus();
  QTest::keyClick(c_->Get<QLineEdit>(Control("CBG")), static_cast<Qt::Key>(key));
  QTest::qWait(50);
  QCOMPARE(clicks.count(), 1);
}

void TestFormControls::enterInTheMemoStartsANewLine() {
  c_->Get<Memo>(Control("Marukin"))->setPlainText(QStringLiteral("ab"));
  c_->Get<Memo>(Control("Marukin"))->setFocus();
  c_->Get<Memo>(Control("Marukin"))->moveCursor(QTextCursor::End);
  QTest::keyClick(c_->Get<Memo>(Control("Marukin")), Qt::Key_Return);
  QTest::keyClicks(c_->Get<Memo>(Control("Marukin")), QStringLiteral("cd"));
  QCOMPARE(c_->Get<Memo>(Control("Marukin"))->toPlainText(), QStringLiteral("ab\ncd"));
}

// The disabled prefix keeps its grey and shows its text at a contrast of
// at least 4.5 : 1, as drawn.
void TestFormControls::disabledPrefixIsReadable() {
  QVERIFY(!c_->Get<QLineEdit>(Control("Prefix"))->isEnabled());
  c_->Get<QLineEdit>(Control("Prefix"))->setText(QStringLiteral("../../dl/"));
  const QImage image = c_->Get<QLineEdit>(Control("Prefix"))->grab().toImage();
  const QColor background = image.pixelColor(image.width() / 2, 3);
  QCOMPARE(background, QColor(0xCC, 0xCC, 0xCC));
  QColor darkest = background;
  for (int y = 3; y < image.height() - 3; ++y) {
    for (int x = 3; x < c_->Get<QLineEdit>(Control("Prefix"))
                                ->fontMetrics()
                                .horizontalAdvance(c_->Get<QLineEdit>(Control("Prefix"))->text()) +
                            6;
         ++x) {
      if (Luminance(image.pixelColor(x, y)) < Luminance(darkest)) darkest = image.pixelColor(x, y);
    }
  }
  QVERIFY2(Contrast(darkest, background) >= 4.5,
           qPrintable(QStringLiteral("text %1 on %2").arg(darkest.name(), background.name())));
  // Enabled, it is black on white as before.
  c_->Get<QLineEdit>(Control("Prefix"))->setEnabled(true);
  QCOMPARE(c_->Get<QLineEdit>(Control("Prefix"))->palette().color(QPalette::Active, QPalette::Text), QColor(Qt::black));
}

void TestFormControls::everyEditHasItsLabelAsName_data() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<QString>("name");
  QTest::newRow("CBG") << "CBG" << Q("背景色");
  QTest::newRow("CText1") << "CText1" << Q("上部文字色");
  QTest::newRow("CBorder") << "CBorder" << Q("枠線色");
  QTest::newRow("CText2") << "CText2" << Q("ランキング文字色");
  QTest::newRow("CLink") << "CLink" << Q("Link");
  QTest::newRow("ALink") << "ALink" << Q("ALink");
  QTest::newRow("VLink") << "VLink" << Q("VLink");
  QTest::newRow("PStart") << "PStart" << Q("集計開始行");
  QTest::newRow("PEnd") << "PEnd" << Q("集計終了行");
  QTest::newRow("PRank") << "PRank" << Q("TOP");
  QTest::newRow("FontSize") << "FontSize" << Q("文字サイズ");
  QTest::newRow("NameMax") << "NameMax" << Q("ファイル名最大長");
  QTest::newRow("Prefix") << "Prefix" << Q("ALinkプレフィックス");
  QTest::newRow("Marukin") << "Marukin" << Q("除外ワード");
}

// What a screen reader announces: the control's own name, also on the
// inner edit of a spin edit, where the focus goes.
void TestFormControls::everyEditHasItsLabelAsName() {
  QFETCH(QString, control);
  QFETCH(QString, name);
  QWidget* widget = form_->findChild<QWidget*>(control);
  QVERIFY(widget);
  QList<QWidget*> announced{widget};
  if (auto* spin = qobject_cast<SpinEdit*>(widget)) announced << spin->Editor();
  for (QWidget* w : announced) {
    QAccessibleInterface* a11y = QAccessible::queryAccessibleInterface(w);
    QVERIFY(a11y);
    QCOMPARE(a11y->text(QAccessible::Name), name);
  }
  for (QToolButton* arrow : widget->findChildren<QToolButton*>()) {
    QVERIFY(!QAccessible::queryAccessibleInterface(arrow)->text(QAccessible::Name).isEmpty());
  }
}

// Every check box shows its caption whole in the face that stands in for
// the design's face, and stays inside its group box.
void TestFormControls::checkBoxCaptionsAreWhole() {
  for (QCheckBox* box : form_->findChildren<QCheckBox*>()) {
    QVERIFY2(box->sizeHint().width() <= box->width(), qPrintable(box->objectName()));
    const auto* group = qobject_cast<QGroupBox*>(box->parentWidget());
    QVERIFY(group);
    QVERIFY2(box->geometry().right() <= group->contentsRect().right(), qPrintable(box->objectName()));
  }
}

// The window makes a check box of each row of the family table: named by
// its key, in the extension filter's group box at the row's place, with
// the row's caption and first-start state.
void TestFormControls::eachFamilyHasItsCheckBox() {
  for (const junmaru::ExtensionFamily& family : junmaru::kExtensionFamilies) {
    const QString key = QString::fromLatin1(family.key.data(), static_cast<int>(family.key.size()));
    const auto* box = form_->findChild<QCheckBox*>(key);
    QVERIFY2(box, qPrintable(key));
    QCOMPARE(box->parentWidget()->objectName(), QStringLiteral("GroupBox1"));
    QCOMPARE(box->pos(), QPoint(family.box.left, family.box.top));
    QCOMPARE(box->text(), Q(family.caption));
    QCOMPARE(box->isChecked(), family.on_at_first_start);
  }
  QCOMPARE(form_->findChild<QGroupBox*>(QStringLiteral("GroupBox1"))->findChildren<QCheckBox*>().size(),
           static_cast<qsizetype>(junmaru::kFamilyCount));
}

QTEST_MAIN(TestFormControls)
#include "TestFormControls.moc"
