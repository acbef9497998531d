// The dialog of the counting rules in the Qt window, driven by keyboard:
// Alt+K opens it from the main window, the rules' Alt keys toggle them, a
// status list that does not read is named and keeps the dialog open, OK
// takes the values for the next GO, Esc puts them back, and the close
// writes the rules that changed.

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "check_box.h"
#include "main_window.h"
#include "messages.h"
#include "test_support.h"

using junmaru::form::Control;
using junmaru::form::kCountDialog;
using junmaru::window::CheckBox;
using junmaru::window::MainWindow;
using junmaru::window::testing::BoxRecorder;
using junmaru::window::testing::Cp;
using junmaru::window::testing::Native;
using junmaru::window::testing::Q;
using junmaru::window::testing::ReadBytes;
using junmaru::window::testing::WriteBytes;

namespace {

// Three HTTP/2 downloads of one file: 200, 206 and 404.
const char kLine[] = "10.0.0.1 - - [10/Oct/2004:13:00:01 +0900] \"GET /dl/a.zip HTTP/2.0\" ";

}  // namespace

class TestCountDialog : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void dialogHasItsDesign();
  void keyboardSetsTheRulesForTheNextGo();
  void escapePutsTheValuesBack();

 private:
  QDialog* Dialog() const { return form_->Get<QDialog>(kCountDialog.window); }
  // Presses Alt+K on the main window, then, once the dialog is up, runs
  // in_dialog, which closes it.
  void OpenByKeyboard(const std::function<void()>& in_dialog) {
    bool ran = false;
    QTimer poll;
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, this, [&] {
      if (ran || !Dialog()->isVisible()) return;
      ran = true;
      poll.stop();
      // The keys go to the dialog once its first control has the focus.
      for (int wait = 0; wait < 100 && !(QApplication::focusWidget() && QApplication::focusWidget()->window() == Dialog());
           ++wait)
        QTest::qWait(20);
      in_dialog();
      if (Dialog()->isVisible()) Dialog()->reject();  // a step that failed leaves no dialog behind
    });
    poll.start();
    // A button's Alt key clicks it a moment later, as a mouse click would.
    QTest::keyClick(MainFocus(), Qt::Key_K, Qt::AltModifier);
    QTRY_VERIFY(ran);
    QVERIFY(!Dialog()->isVisible());
  }
  // The main window's focused control, once the window is active again.
  QWidget* MainFocus() {
    if (!QTest::qWaitForWindowActive(form_)) return form_;
    QWidget* focused = QApplication::focusWidget();
    return focused ? focused : form_->Get<QWidget>(Control("BtnRead"));
  }
  void KeyInDialog(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : Dialog();
    QTest::keyClick(target, key, modifiers);
  }
  // The count of the page's one row after GO, or "none".
  QString GoCount() {
    form_->Get<QPushButton>(Control("BtnGo"))->click();
    const std::string page = ReadBytes(folder_->filePath("r.html"));
    const std::size_t row = page.find("/dl/a.zip");
    if (row == std::string::npos) return "none";
    const std::size_t cell = page.rfind("<td>", page.rfind("</td>"));
    return QString::fromStdString(page.substr(cell + 4, page.rfind("</td>") - cell - 4));
  }

  std::unique_ptr<QTemporaryDir> folder_;
  std::unique_ptr<BoxRecorder> boxes_;
  std::string ini_;
  MainWindow* form_ = nullptr;
};

void TestCountDialog::init() {
  folder_ = std::make_unique<QTemporaryDir>();
  boxes_ = std::make_unique<BoxRecorder>();
  const std::string line = kLine;
  const QString log = folder_->filePath("access.log");
  WriteBytes(log, line + "200 5\r\n" + line + "206 5\r\n" + line + "404 5\r\n");
  ini_ = Native(folder_->filePath("junmaru_setting.ini"));
  WriteBytes(QString::fromStdString(ini_), "[FilePass]\r\nReadPass=" + Native(log) +
                                               "\r\nSavePass=" + Native(folder_->filePath("r.html")) + "\r\n");
  form_ = new MainWindow(ini_);
  form_->show();
  QVERIFY(QTest::qWaitForWindowExposed(form_));
  form_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(form_));
  form_->Get<QWidget>(Control("BtnRead"))->setFocus();
}

void TestCountDialog::cleanup() {
  delete form_;
  form_ = nullptr;
  boxes_.reset();
  folder_.reset();
}

// Made hidden at the start, a child of the main window, with its title,
// its controls in their focus order and a name for each.
void TestCountDialog::dialogHasItsDesign() {
  QDialog* dialog = Dialog();
  QVERIFY(dialog && !dialog->isVisible());
  QCOMPARE(dialog->parentWidget(), form_);
  QCOMPARE(dialog->windowTitle(), Q("集計と表示の設定"));
  QCOMPARE(dialog->size(), QSize(470, 444));
  QCOMPARE(form_->Get<QLineEdit>(Control("Status"))->accessibleName(), Q("T 数える応答ステータス"));
  for (const char* name : {"AnyHttp", "OncePerClient", "Bots", "Decode", "Trend", "Clients", "Export"}) {
    auto* check = dialog->findChild<CheckBox*>(name);
    QVERIFY2(check, name);
    QVERIFY(!check->isChecked());
  }
  QCOMPARE(form_->Get<QPushButton>(Control("BtnCount"))->geometry(), QRect(224, 64, 153, 26));
}

void TestCountDialog::keyboardSetsTheRulesForTheNextGo() {
  QCOMPARE(GoCount(), QString("none"));  // HTTP/2 is not read by default
  OpenByKeyboard([&] {
    QTRY_COMPARE(QApplication::focusWidget(), form_->Get<QWidget>(Control("AnyHttp")));
    KeyInDialog(Qt::Key_H, Qt::AltModifier);
    QTRY_VERIFY(form_->Get<CheckBox>(Control("AnyHttp"))->isChecked());
    KeyInDialog(Qt::Key_T, Qt::AltModifier);  // to the status list
    QCOMPARE(QApplication::focusWidget(), form_->Get<QWidget>(Control("Status")));
    QTest::keyClicks(QApplication::focusWidget(), "20x");
    KeyInDialog(Qt::Key_Return);
    QVERIFY(Dialog()->isVisible());
    QVERIFY(!boxes_->boxes.empty());
    QCOMPARE(boxes_->boxes.back().text, QString::fromStdString(junmaru::Cp932ToUtf8(junmaru::messages::StatusListTyped("20x"))));
    form_->Get<QLineEdit>(Control("Status"))->setText("200,404");
    KeyInDialog(Qt::Key_Return);
  });
  QVERIFY(form_->Get<CheckBox>(Control("AnyHttp"))->isChecked());
  QCOMPARE(GoCount(), QString("2"));
  delete form_;
  form_ = nullptr;
  const std::string ini = ReadBytes(QString::fromStdString(ini_));
  QVERIFY2(ini.find("[Count]\r\nAnyHttp=1\r\nStatus=200,404\r\n") != std::string::npos, ini.c_str());
}

void TestCountDialog::escapePutsTheValuesBack() {
  OpenByKeyboard([&] {
    KeyInDialog(Qt::Key_D, Qt::AltModifier);
    QTRY_VERIFY(form_->Get<CheckBox>(Control("Decode"))->isChecked());
    KeyInDialog(Qt::Key_H, Qt::AltModifier);
    QTRY_VERIFY(form_->Get<CheckBox>(Control("AnyHttp"))->isChecked());
    KeyInDialog(Qt::Key_Escape);
  });
  QVERIFY(!form_->Get<CheckBox>(Control("AnyHttp"))->isChecked());
  QVERIFY(!form_->Get<CheckBox>(Control("Decode"))->isChecked());
  QCOMPARE(GoCount(), QString("none"));
  delete form_;
  form_ = nullptr;
  QVERIFY(ReadBytes(QString::fromStdString(ini_)).find("[Count]") == std::string::npos);
}

QTEST_MAIN(TestCountDialog)
#include "TestCountDialog.moc"
