// The error display: its text and full-stop rule, the message box it
// shows, and that every way out of a handler ends there.

#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "application.h"
#include "error.h"
#include "error_display.h"
#include "error_text.h"
#include "messages.h"
#include "test_support.h"
#include "window_font.h"

using junmaru::window::ErrorDisplay;
using junmaru::window::MessageBox;
using junmaru::window::testing::BoxRecorder;
using junmaru::window::testing::Cp;
using junmaru::window::testing::Q;

namespace {

// An object whose event handler fails, as a handler outside Guard might.
class FailingObject : public QObject {
 public:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::User) throw junmaru::Error(Cp("ファイル x.log は開けません"));
    return QObject::event(event);
  }
};

}  // namespace

class TestErrorDisplay : public QObject {
  Q_OBJECT

 private slots:
  void fullStopByByteOrder_data();
  void fullStopByByteOrder();
  void guardShowsErrorAndReturns_data();
  void guardShowsErrorAndReturns();
  void applicationCatchesEventHandlerErrors();
  void realBoxHasStopIconOneOkAndTitle();
  void informationBoxHasTitle();
};

void TestErrorDisplay::fullStopByByteOrder_data() {
  QTest::addColumn<QByteArray>("message");
  QTest::addColumn<QByteArray>("shown");
  QTest::newRow("Japanese ending gets one") << QByteArray(Cp("ファイル a は開けません").c_str())
                                            << QByteArray((Cp("ファイル a は開けません") + ".").c_str());
  QTest::newRow("closing parenthesis gets none") << QByteArray(Cp("範囲を超えています (3)").c_str())
                                                 << QByteArray(Cp("範囲を超えています (3)").c_str());
  QTest::newRow("exclamation mark gets none") << QByteArray("done!") << QByteArray("done!");
  QTest::newRow("full stop gets none") << QByteArray("done.") << QByteArray("done.");
  QTest::newRow("digit gets one") << QByteArray("error 5") << QByteArray("error 5.");
  QTest::newRow("slash gets one") << QByteArray("a/") << QByteArray("a/.");
  QTest::newRow("comma gets none") << QByteArray("a,") << QByteArray("a,");
  QTest::newRow("letter gets one") << QByteArray("failed") << QByteArray("failed.");
  QTest::newRow("empty message stays empty") << QByteArray() << QByteArray();
}

void TestErrorDisplay::fullStopByByteOrder() {
  QFETCH(QByteArray, message);
  QFETCH(QByteArray, shown);
  QCOMPARE(QByteArray::fromStdString(junmaru::form::ErrorDisplayText(message.toStdString())), shown);
}

void TestErrorDisplay::guardShowsErrorAndReturns_data() {
  QTest::addColumn<QString>("thrown");
  QTest::addColumn<QString>("shown");
  QTest::newRow("cannot open") << "open" << Q("ファイル /x/a.log は開けません.");
  QTest::newRow("list index error keeps its parenthesis") << "index"
                                                          << Q("リストのインデックスが範囲を超えています (7)");
  QTest::newRow("library error") << "library" << Q("bad thing.");
}

void TestErrorDisplay::guardShowsErrorAndReturns() {
  QFETCH(QString, thrown);
  QFETCH(QString, shown);
  BoxRecorder recorder;
  ErrorDisplay::Guard(nullptr, [&] {
    if (thrown == "open") throw junmaru::Error(junmaru::messages::CannotOpen("/x/a.log"));
    if (thrown == "index") throw junmaru::Error(junmaru::messages::ListIndexOutOfRange(7));
    throw std::runtime_error("bad thing");
  });
  QCOMPARE(recorder.boxes.size(), std::size_t{1});
  QCOMPARE(recorder.boxes[0].kind, MessageBox::Kind::kError);
  QCOMPARE(recorder.boxes[0].caption, Q("順位丸"));
  QCOMPARE(recorder.boxes[0].text, shown);
}

void TestErrorDisplay::applicationCatchesEventHandlerErrors() {
  BoxRecorder recorder;
  FailingObject object;
  QEvent event(QEvent::User);
  QCoreApplication::sendEvent(&object, &event);
  QCOMPARE(recorder.boxes.size(), std::size_t{1});
  QCOMPARE(recorder.boxes[0].text, Q("ファイル x.log は開けません."));
  // The event loop carries on afterwards.
  bool ran = false;
  QTimer::singleShot(0, [&] { ran = true; });
  QTRY_VERIFY(ran);
}

// Without the recorder the real box is shown; it is read and closed from
// a timer, so the test never waits for a person.
void TestErrorDisplay::realBoxHasStopIconOneOkAndTitle() {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString title, text;
  qsizetype buttons = -1;
  QFont font;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    icon = box->icon();
    title = box->windowTitle();
    text = box->text();
    buttons = box->buttons().size();
    font = box->font();
    box->button(QMessageBox::Ok)->click();
  });
  ErrorDisplay::Guard(nullptr, [] { throw junmaru::Error(Cp("保存できません")); });
  QCOMPARE(icon, QMessageBox::Critical);
  QCOMPARE(title, Q("順位丸"));
  QCOMPARE(text, Q("保存できません."));
  QCOMPARE(buttons, qsizetype{1});
  // The box speaks in the window's face, not in a fallback of its own.
  const QFontInfo window_face(junmaru::window::WindowFont());
  QCOMPARE(QFontInfo(font).family(), window_face.family());
  QCOMPARE(QFontInfo(font).pixelSize(), window_face.pixelSize());
}

void TestErrorDisplay::informationBoxHasTitle() {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString title;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    icon = box->icon();
    title = box->windowTitle();
    box->button(QMessageBox::Ok)->click();
  });
  MessageBox::Information(nullptr, Cp("お知らせ"));
  QCOMPARE(icon, QMessageBox::Information);
  QCOMPARE(title, Q("順位丸"));
}

int main(int argc, char** argv) {
  junmaru::window::Application app(argc, argv);
  TestErrorDisplay test;
  return QTest::qExec(&test, argc, argv);
}

#include "TestErrorDisplay.moc"
