// Choosing the log and the report file, loading the log, the two range
// spinners and the link prefix, driven through the window with the
// dialogs answered by the test.

#include <sys/file.h>

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "check_box.h"
#include "colour_ref.h"
#include "file_dialog.h"
#include "label.h"
#include "log_selection.h"
#include "main_window.h"
#include "progress_gauge.h"
#include "spin_edit.h"
#include "status_line.h"
#include "test_support.h"

using junmaru::form::Control;
using junmaru::window::CheckBox;
using junmaru::window::FileDialog;
using junmaru::window::Label;
using junmaru::window::MessageBox;
using junmaru::window::ProgressGauge;
using junmaru::window::SpinEdit;
using junmaru::window::StatusLine;
using TForm1 = junmaru::window::MainWindow;
using junmaru::window::testing::BoxRecorder;
using junmaru::window::testing::Cp;
using junmaru::window::testing::Native;
using junmaru::window::testing::Q;
using junmaru::window::testing::WriteBytes;

namespace {

// Line i (1-based) of a test log; its timestamp tells the line: line 61 of
// day 10 is [10/Oct/2004:00:01:01 +0900].
std::string LogLineText(int i, int day) {
  return QString::asprintf("10.0.0.1 - - [%02d/Oct/2004:%02d:%02d:%02d +0900] \"GET /f%d.zip HTTP/1.1\" 200 1", day,
                           i / 3600, (i / 60) % 60, i % 60, i)
      .toStdString();
}

// Lines 1 to n, each followed by eol.
std::string LogText(int n, int day = 10, const std::string& eol = "\r\n") {
  std::string text;
  for (int i = 1; i <= n; ++i) text += LogLineText(i, day) + eol;
  return text;
}

// The timestamp text of that line, as the labels show it.
QString Stamp(int i, int day = 10) {
  return QString::asprintf("2004年10月%02d日 %02d時%02d分%02d秒", day, i / 3600, (i / 60) % 60, i % 60);
}

const QString kFrom = QStringLiteral(" から");
const QString kTo = QStringLiteral(" までを集計");

}  // namespace

class TestForm1Log : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void longPathsAreShortenedForDisplayOnly();
  void choosingALogBringsTheReportPathBesideIt();
  void cancelledDialogsChangeNothing();
  void lineEndsGiveTheSameCount_data();
  void lineEndsGiveTheSameCount();
  void thousandLineLog();
  void secondLogOfTheSameLengthUpdatesTheLabels();
  void rangeSpinnersStayInOrder_data();
  void rangeSpinnersStayInOrder();
  void startTypedBeyondItsMaximum();
  void twoLineLogKeepsItsRange();
  void shortLogOffersNoRange_data();
  void shortLogOffersNoRange();
  void missingLogKeepsTheLoadedOne();
  void lockedLogIsReportedAndKeepsTheLoadedOne();
  void loadClearsTheEarlierStatus_data();
  void loadClearsTheEarlierStatus();
  void firstOrLastLineWithoutTimestamp_data();
  void firstOrLastLineWithoutTimestamp();
  void lineWithoutTimestampInsideTheRange();
  void linkSwitchesThePrefix();

 private:
  // A file in the test's folder holding bytes; its native path.
  std::string Put(const QString& name, const std::string& bytes);
  void Load(const std::string& log_path);
  void VerifyRange(int start, int end);

  std::unique_ptr<QTemporaryDir> folder_;
  std::unique_ptr<BoxRecorder> boxes_;
  TForm1* form_ = nullptr;
};

void TestForm1Log::init() {
  folder_ = std::make_unique<QTemporaryDir>();
  QVERIFY(folder_->isValid());
  boxes_ = std::make_unique<BoxRecorder>();
  form_ = new TForm1(Native(folder_->filePath(QStringLiteral("junmaru_setting.ini"))));
}

void TestForm1Log::cleanup() {
  delete form_;
  form_ = nullptr;
  FileDialog::ClearAnswers();
  boxes_.reset();
  folder_.reset();
}

std::string TestForm1Log::Put(const QString& name, const std::string& bytes) {
  const QString path = folder_->filePath(name);
  QDir().mkpath(QFileInfo(path).path());
  if (!WriteBytes(path, bytes)) qFatal("cannot write the test file");
  return Native(path);
}

void TestForm1Log::Load(const std::string& log_path) {
  form_->DataSet(log_path, Native(folder_->filePath(QStringLiteral("ranking.html"))));
}

void TestForm1Log::VerifyRange(int start, int end) {
  QCOMPARE(form_->Get<SpinEdit>(Control("PStart"))->Value(), start);
  QCOMPARE(form_->Get<SpinEdit>(Control("PEnd"))->Value(), end);
  QCOMPARE(form_->Get<Label>(Control("LogStart"))->text(), Stamp(start) + kFrom);
  QCOMPARE(form_->Get<Label>(Control("LogEnd"))->text(), Stamp(end) + kTo);
}

// The displays shorten; ReadPass and SavePass keep the whole paths.
void TestForm1Log::longPathsAreShortenedForDisplayOnly() {
  const std::string log = "/" + std::string(90, 'L') + "/access.log";
  const std::string report = "/" + std::string(90, 'R') + "/ranking.html";
  form_->DataSet(log, report);
  QCOMPARE(form_->ReadPass(), log);
  QCOMPARE(form_->SavePass(), report);
  QCOMPARE(form_->Get<Label>(Control("PassRead"))->Caption(), "/LL" + Cp("..(略)..") + log.substr(log.size() - 70));
  QCOMPARE(form_->Get<Label>(Control("PassSave"))->Caption(),
           "/RR" + Cp("..(略)..") + report.substr(report.size() - 70));

  const std::string chosen = "/" + std::string(70, 'S') + "/x.html";  // 78 bytes
  FileDialog::QueueAnswer(chosen);
  QTest::mouseClick(form_->Get<QPushButton>(Control("BtnSave")), Qt::LeftButton);
  QCOMPARE(form_->SavePass(), chosen);
  QCOMPARE(form_->Get<Label>(Control("PassSave"))->Caption(),
           "/SS" + Cp("..(略)..") + chosen.substr(chosen.size() - 65));
}

// A report file chosen first is replaced when a log is chosen; choosing the
// report afterwards touches nothing of the loaded log.
void TestForm1Log::choosingALogBringsTheReportPathBesideIt() {
  const std::string log = Put(QStringLiteral("logs/access.log"), LogText(5));
  const std::string other = Native(folder_->filePath(QStringLiteral("site/out.html")));
  FileDialog::QueueAnswer(other);
  QTest::mouseClick(form_->Get<QPushButton>(Control("BtnSave")), Qt::LeftButton);
  QCOMPARE(form_->SavePass(), other);

  FileDialog::QueueAnswer(log);
  QTest::mouseClick(form_->Get<QPushButton>(Control("BtnRead")), Qt::LeftButton);
  const std::string report = Native(folder_->filePath(QStringLiteral("logs/ranking.html")));
  QCOMPARE(form_->ReadPass(), log);
  QCOMPARE(form_->SavePass(), report);
  QCOMPARE(form_->Get<Label>(Control("PassRead"))->Caption(), log);
  QCOMPARE(form_->Get<Label>(Control("PassSave"))->Caption(), report);
  QCOMPARE(form_->Get<Label>(Control("LogLine"))->text(), Q("5 行"));
  QVERIFY(form_->Get<QPushButton>(Control("BtnGo"))->isEnabled());

  FileDialog::QueueAnswer(other);
  QTest::mouseClick(form_->Get<QPushButton>(Control("BtnSave")), Qt::LeftButton);
  QCOMPARE(form_->SavePass(), other);
  QCOMPARE(form_->ReadPass(), log);
  QCOMPARE(form_->Get<Label>(Control("LogLine"))->text(), Q("5 行"));
  VerifyRange(1, 5);
  QVERIFY(form_->Get<QPushButton>(Control("BtnGo"))->isEnabled());
  QCOMPARE(form_->Get<StatusLine>(Control("State"))->text(), Q("待機中（ログ読み込み完了）"));
}

void TestForm1Log::cancelledDialogsChangeNothing() {
  const std::string log = Put(QStringLiteral("access.log"), LogText(5));
  Load(log);
  const std::string report = form_->SavePass();
  FileDialog::QueueAnswer(std::nullopt);
  QTest::mouseClick(form_->Get<QPushButton>(Control("BtnRead")), Qt::LeftButton);
  FileDialog::QueueAnswer(std::nullopt);
  QTest::mouseClick(form_->Get<QPushButton>(Control("BtnSave")), Qt::LeftButton);
  QCOMPARE(form_->ReadPass(), log);
  QCOMPARE(form_->SavePass(), report);
  QCOMPARE(form_->Get<Label>(Control("PassSave"))->Caption(), report);
  QCOMPARE(form_->Lines().Count(), std::size_t{5});
  QVERIFY(boxes_->boxes.empty());
}

void TestForm1Log::lineEndsGiveTheSameCount_data() {
  QTest::addColumn<std::string>("bytes");
  QTest::addColumn<int>("count");
  QTest::addColumn<int>("last");  // the line whose stamp LogLast shows
  QTest::newRow("CR LF") << LogText(10, 10, "\r\n") << 10 << 10;
  QTest::newRow("LF") << LogText(10, 10, "\n") << 10 << 10;
  QTest::newRow("CR") << LogText(10, 10, "\r") << 10 << 10;
  std::string unterminated = LogText(10);
  unterminated.resize(unterminated.size() - 2);
  QTest::newRow("no break after the last line") << unterminated << 10 << 10;
  QTest::newRow("LF CR is two breaks") << LogLineText(1, 10) + "\n\r" + LogLineText(3, 10) << 3 << 3;
  QTest::newRow("NUL ends the text") << LogText(4) + std::string(1, '\0') + LogText(3) << 4 << 4;
}

void TestForm1Log::lineEndsGiveTheSameCount() {
  QFETCH(std::string, bytes);
  QFETCH(int, count);
  QFETCH(int, last);
  Load(Put(QStringLiteral("access.log"), bytes));
  QCOMPARE(form_->Get<Label>(Control("LogLine"))->text(), QString::number(count) + Q(" 行"));
  QCOMPARE(form_->Get<Label>(Control("LogFirst"))->text(), Stamp(1));
  QCOMPARE(form_->Get<Label>(Control("LogLast"))->text(), Stamp(last));
  QVERIFY(!form_->StatusShowsError());
}

// After a failed load and a run, a good load clears the error colour,
// sets every limit and value, and resets the gauge.
void TestForm1Log::thousandLineLog() {
  form_->SetStatusColour(junmaru::StatusColour::kError);
  form_->SetProgress(700);
  form_->SetGaugeBackground(junmaru::GaugeBackground::kRunning);
  Load(Put(QStringLiteral("access.log"), LogText(1000)));
  QCOMPARE(form_->Get<Label>(Control("LogLine"))->text(), Q("1000 行"));
  QCOMPARE(form_->Get<Label>(Control("LogFirst"))->text(), Stamp(1));
  QCOMPARE(form_->Get<Label>(Control("LogLast"))->text(), Stamp(1000));
  QCOMPARE(form_->Get<SpinEdit>(Control("PStart"))->MinValue(), 1);
  QCOMPARE(form_->Get<SpinEdit>(Control("PStart"))->MaxValue(), 999);
  QCOMPARE(form_->Get<SpinEdit>(Control("PEnd"))->MinValue(), 2);
  QCOMPARE(form_->Get<SpinEdit>(Control("PEnd"))->MaxValue(), 1000);
  VerifyRange(1, 1000);
  QVERIFY(form_->Get<SpinEdit>(Control("PStart"))->isEnabled());
  QVERIFY(form_->Get<SpinEdit>(Control("PEnd"))->isEnabled());
  QVERIFY(form_->Get<QPushButton>(Control("BtnGo"))->isEnabled());
  QCOMPARE(form_->Get<ProgressGauge>(Control("Gauge"))->Progress(), 0);
  QCOMPARE(form_->Get<ProgressGauge>(Control("Gauge"))->BackColour(), junmaru::form::colours::kGaugeIdle);
  QCOMPARE(form_->Get<StatusLine>(Control("State"))->text(), Q("待機中（ログ読み込み完了）"));
  QVERIFY(!form_->StatusShowsError());
  QVERIFY(boxes_->boxes.empty());
}

// PEnd already shows the line count, so setting it changes nothing; its
// label must describe the new log all the same.
void TestForm1Log::secondLogOfTheSameLengthUpdatesTheLabels() {
  Load(Put(QStringLiteral("a.log"), LogText(10, 10)));
  form_->Get<SpinEdit>(Control("PStart"))->SetValue(4);
  Load(Put(QStringLiteral("b.log"), LogText(10, 11)));
  QCOMPARE(form_->Get<Label>(Control("LogEnd"))->text(), Stamp(10, 11) + kTo);
  QCOMPARE(form_->Get<Label>(Control("LogStart"))->text(), Stamp(1, 11) + kFrom);
  QCOMPARE(form_->Get<Label>(Control("LogLast"))->text(), Stamp(10, 11));
}

void TestForm1Log::rangeSpinnersStayInOrder_data() {
  QTest::addColumn<bool>("moveStart");
  QTest::addColumn<int>("to");
  QTest::addColumn<int>("start");
  QTest::addColumn<int>("end");
  // From start 40 and end 50 in a 100-line log.
  QTest::newRow("end lowered to the start pulls it to 39") << false << 40 << 39 << 40;
  QTest::newRow("end lowered below the start") << false << 10 << 9 << 10;
  QTest::newRow("end raised leaves the start") << false << 60 << 40 << 60;
  QTest::newRow("start raised to the end pushes it to 51") << true << 50 << 50 << 51;
  QTest::newRow("start raised to its maximum") << true << 99 << 99 << 100;
  QTest::newRow("start lowered leaves the end") << true << 1 << 1 << 50;
}

void TestForm1Log::rangeSpinnersStayInOrder() {
  QFETCH(bool, moveStart);
  QFETCH(int, to);
  QFETCH(int, start);
  QFETCH(int, end);
  Load(Put(QStringLiteral("access.log"), LogText(100)));
  form_->Get<SpinEdit>(Control("PEnd"))->SetValue(50);
  form_->Get<SpinEdit>(Control("PStart"))->SetValue(40);
  VerifyRange(40, 50);
  (moveStart ? form_->Get<SpinEdit>(Control("PStart")) : form_->Get<SpinEdit>(Control("PEnd")))->SetValue(to);
  VerifyRange(start, end);
  QVERIFY(!form_->StatusShowsError());
}

// A value typed beyond the limits changes nothing until the spinner loses
// the focus; then it is limited and the handler runs with the limit.
void TestForm1Log::startTypedBeyondItsMaximum() {
  Load(Put(QStringLiteral("access.log"), LogText(100)));
  form_->Get<SpinEdit>(Control("PEnd"))->SetValue(60);
  form_->Get<SpinEdit>(Control("PStart"))->SetValue(30);
  form_->show();
  form_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(form_));
  form_->Get<SpinEdit>(Control("PStart"))->setFocus();
  form_->Get<SpinEdit>(Control("PStart"))->Editor()->setText(QStringLiteral("100"));
  QCOMPARE(form_->Get<Label>(Control("LogStart"))->text(), Stamp(30) + kFrom);
  QCOMPARE(form_->Get<SpinEdit>(Control("PEnd"))->Value(), 60);
  form_->Get<SpinEdit>(Control("PEnd"))->setFocus();
  QCOMPARE(form_->Get<SpinEdit>(Control("PStart"))->Editor()->text(), QStringLiteral("99"));
  VerifyRange(99, 100);
}

// Each spinner has one line to offer; arrows and typing cannot move it
// off the log.
void TestForm1Log::twoLineLogKeepsItsRange() {
  Load(Put(QStringLiteral("access.log"), LogText(2)));
  VerifyRange(1, 2);
  QVERIFY(form_->Get<QPushButton>(Control("BtnGo"))->isEnabled());
  form_->Get<SpinEdit>(Control("PStart"))->StepBy(1);
  form_->Get<SpinEdit>(Control("PEnd"))->StepBy(1);
  VerifyRange(1, 2);
  form_->Get<SpinEdit>(Control("PStart"))->StepBy(-1);
  form_->Get<SpinEdit>(Control("PEnd"))->StepBy(-1);
  VerifyRange(1, 2);
  form_->Get<SpinEdit>(Control("PStart"))->Editor()->setText(QStringLiteral("7"));
  form_->Get<SpinEdit>(Control("PEnd"))->Editor()->setText(QStringLiteral("0"));
  VerifyRange(1, 2);
  QVERIFY(boxes_->boxes.empty());
}

void TestForm1Log::shortLogOffersNoRange_data() {
  QTest::addColumn<std::string>("bytes");
  QTest::addColumn<QString>("lineCount");
  QTest::addColumn<QString>("stamp");  // LogFirst and LogLast
  QTest::addColumn<QString>("error");  // the error display, if any
  QTest::addColumn<QString>("start");  // the disabled range boxes
  QTest::addColumn<QString>("end");
  QTest::newRow("one line") << LogText(1) << Q("1 行") << Stamp(1) << QString() << Q("1") << Q("1");
  QTest::newRow("no line: the load fails on line 0") << std::string() << Q("0 行") << QString()
                                                     << Q("リストのインデックスが範囲を超えています (0)") << Q("0")
                                                     << Q("0");
}

// After a good log, a log without a range takes GO and the range away: the
// status line says why, the range boxes show the new log's lines, and GO
// can no longer start a run.
void TestForm1Log::shortLogOffersNoRange() {
  QFETCH(std::string, bytes);
  QFETCH(QString, lineCount);
  QFETCH(QString, stamp);
  QFETCH(QString, error);
  QFETCH(QString, start);
  QFETCH(QString, end);
  Load(Put(QStringLiteral("good.log"), LogText(100)));
  QVERIFY(form_->Get<QPushButton>(Control("BtnGo"))->isEnabled());

  FileDialog::QueueAnswer(Put(QStringLiteral("short.log"), bytes));
  QTest::mouseClick(form_->Get<QPushButton>(Control("BtnRead")), Qt::LeftButton);
  if (error.isEmpty()) {
    QVERIFY(boxes_->boxes.empty());
  } else {
    QCOMPARE(boxes_->boxes.size(), std::size_t{1});
    QCOMPARE(boxes_->boxes[0].kind, MessageBox::Kind::kError);
    QCOMPARE(boxes_->boxes[0].text, error);
  }
  QCOMPARE(form_->Get<Label>(Control("LogLine"))->text(), lineCount);
  QCOMPARE(form_->Get<Label>(Control("LogFirst"))->text(), stamp);
  QCOMPARE(form_->Get<Label>(Control("LogLast"))->text(), stamp);
  QCOMPARE(form_->Get<Label>(Control("LogStart"))->text(), QString());
  QCOMPARE(form_->Get<Label>(Control("LogEnd"))->text(), QString());
  QVERIFY(!form_->Get<QPushButton>(Control("BtnGo"))->isEnabled());
  QVERIFY(!form_->Get<SpinEdit>(Control("PStart"))->isEnabled());
  QVERIFY(!form_->Get<SpinEdit>(Control("PEnd"))->isEnabled());
  QCOMPARE(form_->Get<SpinEdit>(Control("PStart"))->Editor()->text(), start);
  QCOMPARE(form_->Get<SpinEdit>(Control("PEnd"))->Editor()->text(), end);
  QCOMPARE(form_->Get<StatusLine>(Control("State"))->text(), Q("エラー\u3000集計には2行以上のログが必要です"));
  QVERIFY(form_->StatusShowsError());

  const std::size_t shown = boxes_->boxes.size();
  form_->BtnGoClick();
  QVERIFY(!QFile::exists(folder_->filePath(QStringLiteral("ranking.html"))));
  QCOMPARE(boxes_->boxes.size(), shown);
  QVERIFY(form_->Get<StatusLine>(Control("State"))->text() != Q("出力完了！"));
}

void TestForm1Log::missingLogKeepsTheLoadedOne() {
  Load(Put(QStringLiteral("access.log"), LogText(20)));
  form_->Get<SpinEdit>(Control("PStart"))->SetValue(5);
  const std::string gone = Native(folder_->filePath(QStringLiteral("gone.log")));
  const std::string report = Native(folder_->filePath(QStringLiteral("x/ranking.html")));
  form_->DataSet(gone, report);
  QVERIFY(form_->StatusShowsError());
  QCOMPARE(form_->Get<StatusLine>(Control("State"))->text(), Q("エラー\u3000読み込みファイルが選択先に存在しません"));
  QCOMPARE(form_->ReadPass(), gone);
  QCOMPARE(form_->SavePass(), report);
  QCOMPARE(form_->Get<Label>(Control("PassRead"))->Caption(), gone);
  QCOMPARE(form_->Lines().Count(), std::size_t{20});
  QCOMPARE(form_->Get<Label>(Control("LogLine"))->text(), Q("20 行"));
  VerifyRange(5, 20);
  QVERIFY(form_->Get<QPushButton>(Control("BtnGo"))->isEnabled());
  QVERIFY(boxes_->boxes.empty());

  // A folder is no log either.
  form_->DataSet(Native(folder_->path()), report);
  QVERIFY(form_->StatusShowsError());
  QCOMPARE(form_->Lines().Count(), std::size_t{20});
}

// A log held locked by a writer cannot be opened: the error display says
// so, the new paths are kept, and the loaded log stays.
void TestForm1Log::lockedLogIsReportedAndKeepsTheLoadedOne() {
  Load(Put(QStringLiteral("access.log"), LogText(20)));
  const std::string busy = Put(QStringLiteral("busy.log"), LogText(3));
  QFile writer(QString::fromStdString(busy));
  QVERIFY(writer.open(QIODevice::ReadWrite));
  QCOMPARE(::flock(writer.handle(), LOCK_EX | LOCK_NB), 0);
  form_->SetStatusColour(junmaru::StatusColour::kError);

  FileDialog::QueueAnswer(busy);
  QTest::mouseClick(form_->Get<QPushButton>(Control("BtnRead")), Qt::LeftButton);
  QCOMPARE(boxes_->boxes.size(), std::size_t{1});
  QCOMPARE(boxes_->boxes[0].text, QStringLiteral("ファイル ") + QString::fromStdString(busy) + Q(" は開けません."));
  QVERIFY(!form_->StatusShowsError());
  QCOMPARE(form_->ReadPass(), busy);
  QCOMPARE(form_->Lines().Count(), std::size_t{20});
  QCOMPARE(form_->Get<Label>(Control("LogLine"))->text(), Q("20 行"));
  QVERIFY(form_->Get<QPushButton>(Control("BtnGo"))->isEnabled());
}

void TestForm1Log::loadClearsTheEarlierStatus_data() {
  QTest::addColumn<QString>("next");
  QTest::addColumn<QString>("status");
  QTest::addColumn<bool>("error");
  QTest::newRow("an empty log") << "empty" << Q("エラー\u3000集計には2行以上のログが必要です") << true;
  QTest::newRow("a log held locked by a writer") << "locked" << Q("待機中") << false;
  QTest::newRow("a good log") << "good" << Q("待機中（ログ読み込み完了）") << false;
  QTest::newRow("another missing log") << "missing" << Q("エラー\u3000読み込みファイルが選択先に存在しません") << true;
}

// After a missing log, the next load's status names that load's own
// outcome; the missing-file error does not stay behind on the normal
// colour while the error display reports another problem.
void TestForm1Log::loadClearsTheEarlierStatus() {
  QFETCH(QString, next);
  QFETCH(QString, status);
  QFETCH(bool, error);
  form_->DataSet(Native(folder_->filePath(QStringLiteral("gone.log"))),
                 Native(folder_->filePath(QStringLiteral("ranking.html"))));
  QVERIFY(form_->StatusShowsError());
  std::string path = Native(folder_->filePath(QStringLiteral("also-gone.log")));
  QFile writer;
  if (next == "empty") path = Put(QStringLiteral("empty.log"), std::string());
  if (next == "good") path = Put(QStringLiteral("access.log"), LogText(20));
  if (next == "locked") {
    path = Put(QStringLiteral("busy.log"), LogText(3));
    writer.setFileName(QString::fromStdString(path));
    QVERIFY(writer.open(QIODevice::ReadWrite));
    QCOMPARE(::flock(writer.handle(), LOCK_EX | LOCK_NB), 0);
  }
  FileDialog::QueueAnswer(path);
  QTest::mouseClick(form_->Get<QPushButton>(Control("BtnRead")), Qt::LeftButton);
  QCOMPARE(form_->Get<StatusLine>(Control("State"))->text(), status);
  QCOMPARE(form_->StatusShowsError(), error);
}

void TestForm1Log::firstOrLastLineWithoutTimestamp_data() {
  QTest::addColumn<std::string>("bytes");
  QTest::addColumn<QString>("first");
  QTest::addColumn<QString>("last");
  QTest::newRow("first line") << "no stamp here\r\n" + LogText(4) << QString() << Stamp(4);
  QTest::newRow("last line") << LogText(4) + "no stamp here\r\n" << Stamp(1) << QString();
}

void TestForm1Log::firstOrLastLineWithoutTimestamp() {
  QFETCH(std::string, bytes);
  QFETCH(QString, first);
  QFETCH(QString, last);
  Load(Put(QStringLiteral("good.log"), LogText(10)));
  Load(Put(QStringLiteral("odd.log"), bytes));
  QCOMPARE(form_->Get<Label>(Control("LogLine"))->text(), Q("5 行"));
  QCOMPARE(form_->Get<Label>(Control("LogFirst"))->text(), first);
  QCOMPARE(form_->Get<Label>(Control("LogLast"))->text(), last);
  QVERIFY(form_->StatusShowsError());
  QCOMPARE(form_->Get<StatusLine>(Control("State"))->text(), Q("エラー\u3000ログファイルの形式がおかしいです"));
  QVERIFY(!form_->Get<QPushButton>(Control("BtnGo"))->isEnabled());
  QVERIFY(!form_->Get<SpinEdit>(Control("PStart"))->isEnabled());
  QVERIFY(!form_->Get<SpinEdit>(Control("PEnd"))->isEnabled());
  QCOMPARE(form_->Lines().Count(), std::size_t{5});
}

// The load reads only the first and the last line; a line without
// timestamp inside the log is found when the range reaches it.
void TestForm1Log::lineWithoutTimestampInsideTheRange() {
  std::string bytes = LogLineText(1, 10) + "\r\nodd\r\nodd\r\n";
  for (int i = 4; i <= 10; ++i) bytes += LogLineText(i, 10) + "\r\n";
  Load(Put(QStringLiteral("access.log"), bytes));
  QCOMPARE(form_->Get<Label>(Control("LogLine"))->text(), Q("10 行"));
  QVERIFY(!form_->StatusShowsError());
  QCOMPARE(form_->Get<StatusLine>(Control("State"))->text(), Q("待機中（ログ読み込み完了）"));
  QVERIFY(form_->Get<QPushButton>(Control("BtnGo"))->isEnabled());
  VerifyRange(1, 10);

  form_->Get<SpinEdit>(Control("PStart"))->SetValue(2);
  QCOMPARE(form_->Get<Label>(Control("LogStart"))->text(), kFrom);
  QVERIFY(form_->StatusShowsError());
  QCOMPARE(form_->Get<StatusLine>(Control("State"))->text(), Q("エラー\u3000ログファイルの形式がおかしいです"));
  QVERIFY(!form_->Get<QPushButton>(Control("BtnGo"))->isEnabled());
  QVERIFY(!form_->Get<SpinEdit>(Control("PStart"))->isEnabled());
  QVERIFY(!form_->Get<SpinEdit>(Control("PEnd"))->isEnabled());
}

void TestForm1Log::linkSwitchesThePrefix() {
  // With no settings file, Link starts checked.
  QVERIFY(form_->Get<CheckBox>(Control("Link"))->isChecked());
  QVERIFY(form_->Get<QLineEdit>(Control("Prefix"))->isEnabled());
  QCOMPARE(form_->Get<QLineEdit>(Control("Prefix"))->palette().color(QPalette::Active, QPalette::Base),
           QColor(Qt::white));
  form_->Get<QLineEdit>(Control("Prefix"))->setText(QStringLiteral("../dl/"));

  form_->Get<CheckBox>(Control("Link"))->setChecked(false);
  QVERIFY(!form_->Get<QLineEdit>(Control("Prefix"))->isEnabled());
  QCOMPARE(form_->Get<QLineEdit>(Control("Prefix"))->palette().color(QPalette::Disabled, QPalette::Base),
           QColor(0xCC, 0xCC, 0xCC));
  QCOMPARE(form_->Get<QLineEdit>(Control("Prefix"))->text(), QStringLiteral("../dl/"));

  form_->show();
  QTest::mouseClick(form_->Get<CheckBox>(Control("Link")), Qt::LeftButton, {},
                    QPoint(6, form_->Get<CheckBox>(Control("Link"))->height() / 2));
  QVERIFY(form_->Get<CheckBox>(Control("Link"))->isChecked());
  QVERIFY(form_->Get<QLineEdit>(Control("Prefix"))->isEnabled());
  QCOMPARE(form_->Get<QLineEdit>(Control("Prefix"))->palette().color(QPalette::Active, QPalette::Base),
           QColor(Qt::white));
  QCOMPARE(form_->Get<QLineEdit>(Control("Prefix"))->text(), QStringLiteral("../dl/"));
}

QTEST_MAIN(TestForm1Log)
#include "TestForm1Log.moc"
