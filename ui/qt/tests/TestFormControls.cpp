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
#include "status_line.h"
#include "test_support.h"
#include "widget_text.h"
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
  void statusLineKeepsToItsRow_data();
  void statusLineKeepsToItsRow();

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

void TestFormControls::statusLineKeepsToItsRow_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("fits");
  const QString folder = QStringLiteral("/srv/www/") + QString(12, QChar(0x30C7)) + QStringLiteral("/") +
                         QString(40, QLatin1Char('d')) + QStringLiteral("/");
  QTest::newRow("a short status") << Q("待機中（ログ読み込み完了）") << true;
  QTest::newRow("an error naming a long path")
      << Q("ファイル ") + folder + Q("ranking.html を作成できません") << false;
  QTest::newRow("a long path without spaces") << folder.repeated(3) << false;
}

// A status text wider than the row stops at the gauge's right edge, short
// of GO: its ends are drawn around an ellipsis, and the whole text is the
// tooltip and what a screen reader reads; a text that fits shows whole.
void TestFormControls::statusLineKeepsToItsRow() {
  QFETCH(QString, text);
  QFETCH(bool, fits);
  auto* status = c_->Get<junmaru::window::StatusLine>(Control("State"));
  const QWidget* gauge = c_->Get<QWidget>(Control("Gauge"));
  const QWidget* go = c_->Get<QWidget>(Control("BtnGo"));
  status->SetCaption(junmaru::window::FromUi(text));
  QVERIFY(status->geometry().right() <= gauge->geometry().right());
  QVERIFY(status->geometry().right() < go->geometry().left());
  QCOMPARE(status->text(), text);
  QCOMPARE(status->toolTip(), fits ? QString() : text);
  const QString shown = status->ShownText();
  if (fits) {
    QCOMPARE(shown, text);
  } else {
    const qsizetype dots = shown.indexOf(QChar(0x2026));
    QVERIFY2(dots > 0 && dots < shown.size() - 1, qPrintable(shown));
    QVERIFY(text.startsWith(shown.left(dots)));
    QVERIFY(text.endsWith(shown.mid(dots + 1)));
    QVERIFY(status->fontMetrics().horizontalAdvance(shown) <= status->width());
  }
  QVERIFY(!status->grab().isNull());  // draws without fault
}

QTEST_MAIN(TestFormControls)
#include "TestFormControls.moc"
