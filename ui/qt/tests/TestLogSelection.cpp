// The rules of choosing a log and a report file that need no widget: path
// displays, the report path beside a log, and what a range spinner's
// handler does with the value it shows.

#include <QTest>

#include "log_selection.h"
#include "report_path.h"
#include "test_support.h"

using junmaru::form::kChosenReportLimit;
using junmaru::form::kLoadedPathLimit;
using junmaru::form::PathDisplayLimit;
using junmaru::form::RangeAction;
using junmaru::form::RangeActionFor;
using junmaru::ReportPathFor;
using junmaru::form::ShownPath;
using junmaru::window::testing::Cp;

Q_DECLARE_METATYPE(RangeAction)

namespace {

// "/" followed by n - 1 letters, cycling so that a cut shows where it fell.
std::string AsciiPath(std::size_t n) {
  std::string path = "/";
  while (path.size() < n) path += static_cast<char>('a' + path.size() % 26);
  return path;
}

}  // namespace

class TestLogSelection : public QObject {
  Q_OBJECT

 private slots:
  void shownPath_data();
  void shownPath();
  void reportPathBesideTheLog_data();
  void reportPathBesideTheLog();
  void rangeAction_data();
  void rangeAction();
};

void TestLogSelection::shownPath_data() {
  QTest::addColumn<std::string>("path");  // native bytes
  QTest::addColumn<bool>("chosenReport");
  QTest::addColumn<std::string>("shown");  // code page 932
  const std::string p80 = AsciiPath(80), p81 = AsciiPath(81), p75 = AsciiPath(75), p76 = AsciiPath(76);
  const std::string cut = Cp("..(略)..");
  QTest::newRow("load: 80 bytes whole") << p80 << false << p80;
  QTest::newRow("load: 81 bytes, 3 + mark + 70") << p81 << false << p81.substr(0, 3) + cut + p81.substr(11);
  QTest::newRow("report: 75 bytes whole") << p75 << true << p75;
  QTest::newRow("report: 76 bytes, 3 + mark + 65") << p76 << true << p76.substr(0, 3) + cut + p76.substr(11);
  QTest::newRow("report: 80 bytes is too long for it") << p80 << true << p80.substr(0, 3) + cut + p80.substr(15);

  // Forty kana are 80 bytes in code page 932 but 120 in UTF-8: counted in
  // code page 932, the path fits.
  std::string kana_utf8, kana_cp;
  for (int i = 0; i < 39; ++i) {
    kana_utf8 += "ア";
    kana_cp += Cp("ア");
  }
  QTest::newRow("load: 80 bytes of code page 932") << "/" + kana_utf8 + "/" << false << "/" + kana_cp + "/";
  // One kana more is 82 bytes; the last 70 begin on a character's second byte.
  const std::string long_cp = "/" + kana_cp + Cp("ア") + "/";
  QTest::newRow("load: the cut splits a character")
      << "/" + kana_utf8 + "ア/" << false << long_cp.substr(0, 3) + cut + long_cp.substr(long_cp.size() - 70);
}

void TestLogSelection::shownPath() {
  QFETCH(std::string, path);
  QFETCH(bool, chosenReport);
  QFETCH(std::string, shown);
  const PathDisplayLimit limit = chosenReport ? kChosenReportLimit : kLoadedPathLimit;
  const std::string result = ShownPath(path, limit);
  QCOMPARE(result, shown);
  QVERIFY(result.size() <= limit.whole_max + 1);
}

void TestLogSelection::reportPathBesideTheLog_data() {
  QTest::addColumn<std::string>("log");
  QTest::addColumn<std::string>("report");
  QTest::newRow("a log in a folder") << std::string("/home/site/logs/access.log")
                                     << std::string("/home/site/logs/ranking.html");
  QTest::newRow("a log in the root") << std::string("/access.log") << std::string("/ranking.html");
  QTest::newRow("a log without extension") << std::string("/var/log/apache2/access_log")
                                           << std::string("/var/log/apache2/ranking.html");
  QTest::newRow("a Japanese folder keeps its bytes")
      << std::string("/srv/ログ/2004年.log") << std::string("/srv/ログ/ranking.html");
  QTest::newRow("a name without folder") << std::string("access.log") << std::string("./ranking.html");
}

void TestLogSelection::reportPathBesideTheLog() {
  QFETCH(std::string, log);
  QFETCH(std::string, report);
  QCOMPARE(ReportPathFor(log), report);
}

void TestLogSelection::rangeAction_data() {
  QTest::addColumn<int>("value");
  QTest::addColumn<int>("minimum");
  QTest::addColumn<int>("maximum");
  QTest::addColumn<int>("lines");
  QTest::addColumn<RangeAction>("action");
  // A 100-line log: PStart 1..99, PEnd 2..100.
  QTest::newRow("start at its minimum") << 1 << 1 << 99 << 100 << RangeAction::kShow;
  QTest::newRow("start at its maximum") << 99 << 1 << 99 << 100 << RangeAction::kShow;
  QTest::newRow("start typed beyond its maximum") << 100 << 1 << 99 << 100 << RangeAction::kIgnore;
  QTest::newRow("start typed 0") << 0 << 1 << 99 << 100 << RangeAction::kIgnore;
  QTest::newRow("end typed 1, below its minimum") << 1 << 2 << 100 << 100 << RangeAction::kIgnore;
  QTest::newRow("end at the last line") << 100 << 2 << 100 << 100 << RangeAction::kShow;
  // A two-line log: each spinner has one line.
  QTest::newRow("two lines: start on line 1") << 1 << 1 << 1 << 2 << RangeAction::kShow;
  QTest::newRow("two lines: start stepped to 2") << 2 << 1 << 1 << 2 << RangeAction::kPullBack;
  QTest::newRow("two lines: start stepped to 0") << 0 << 1 << 1 << 2 << RangeAction::kPullBack;
  QTest::newRow("two lines: end on line 2") << 2 << 2 << 2 << 2 << RangeAction::kShow;
  QTest::newRow("two lines: end stepped to 3") << 3 << 2 << 2 << 2 << RangeAction::kPullBack;
  // Limits left from an earlier, longer log never reach past this one.
  QTest::newRow("one-line log under old limits") << 2 << 1 << 99 << 1 << RangeAction::kIgnore;
  QTest::newRow("no log under the design limits") << 1 << 1 << 10 << 0 << RangeAction::kIgnore;
}

void TestLogSelection::rangeAction() {
  QFETCH(int, value);
  QFETCH(int, minimum);
  QFETCH(int, maximum);
  QFETCH(int, lines);
  QFETCH(RangeAction, action);
  QCOMPARE(RangeActionFor(value, minimum, maximum, static_cast<std::size_t>(lines)), action);
}

QTEST_MAIN(TestLogSelection)
#include "TestLogSelection.moc"
