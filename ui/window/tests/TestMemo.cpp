// The memo's lines: the lines as displayed with word wrap, without a final
// empty line, each cut at 4096 bytes.

#include <QTest>

#include "memo.h"
#include "memo_line.h"
#include "test_support.h"

using junmaru::window::Memo;
using junmaru::window::testing::Cp;
using junmaru::window::testing::Q;

class TestMemo : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void linesAsDisplayed_data();
  void linesAsDisplayed();
  void wideEntryWrapsIntoTwoLines();
  void linesAreReadBeforeTheWindowIsShown();
  void setLinesRoundTrip();
  void lineIsCutAt4096Bytes_data();
  void lineIsCutAt4096Bytes();

 private:
  QWidget* host_ = nullptr;
  Memo* memo_ = nullptr;
};

void TestMemo::init() {
  host_ = new QWidget;
  QFont font(QStringLiteral("IPAPGothic"));
  font.setPixelSize(12);
  host_->setFont(font);
  host_->resize(260, 130);
  memo_ = new Memo(host_);
  memo_->setGeometry(8, 18, 225, 95);
}

void TestMemo::cleanup() {
  delete host_;
  host_ = nullptr;
}

void TestMemo::linesAsDisplayed_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QStringList>("lines");
  QTest::newRow("empty memo has no lines") << "" << QStringList{};
  QTest::newRow("a word and a break is one line") << "word\n" << QStringList{"word"};
  QTest::newRow("a word without a break") << "word" << QStringList{"word"};
  QTest::newRow("word, empty line, word is three") << "a\n\nb" << QStringList{"a", "", "b"};
  QTest::newRow("only the final empty line is dropped") << "a\n\n" << QStringList{"a", ""};
  QTest::newRow("a lone break is one empty line") << "\n" << QStringList{""};
  QTest::newRow("Japanese words") << Q("例）禁止ワード1\n例）禁止ワード2") << QStringList{Q("例）禁止ワード1"), Q("例）禁止ワード2")};
}

void TestMemo::linesAsDisplayed() {
  QFETCH(QString, text);
  QFETCH(QStringList, lines);
  host_->show();
  memo_->setPlainText(text);
  std::vector<std::string> expected;
  for (const QString& line : lines) expected.push_back(Cp(line.toUtf8().constData()));
  QCOMPARE(memo_->Lines(), expected);
}

void TestMemo::wideEntryWrapsIntoTwoLines() {
  host_->show();
  const std::string word = "averyveryverylongexclusionwordthatwrapsinthememo";
  memo_->setPlainText(QString::fromStdString(word));
  const std::vector<std::string> lines = memo_->Lines();
  QCOMPARE(lines.size(), std::size_t{2});
  QCOMPARE(lines[0] + lines[1], word);
}

// The run may read the memo of a window that was never shown; the wrap
// width must already be the memo's own.
void TestMemo::linesAreReadBeforeTheWindowIsShown() {
  const std::string word = "averyveryverylongexclusionwordthatwrapsinthememo";
  memo_->setPlainText(QString::fromStdString(word) + QStringLiteral("\nshort"));
  QCOMPARE(memo_->Lines().size(), std::size_t{3});
}

void TestMemo::setLinesRoundTrip() {
  host_->show();
  const std::vector<std::string> lines = {Cp("禁止"), "", "cgi-bin"};
  memo_->SetLines(lines);
  QCOMPARE(memo_->Lines(), lines);
  memo_->SetLines({});
  QVERIFY(memo_->Lines().empty());
}

void TestMemo::lineIsCutAt4096Bytes_data() {
  QTest::addColumn<int>("length");
  QTest::addColumn<int>("kept");
  QTest::newRow("short") << 10 << 10;
  QTest::newRow("exactly 4096") << 4096 << 4096;
  QTest::newRow("one over") << 4097 << 4096;
  QTest::newRow("far over") << 10000 << 4096;
}

void TestMemo::lineIsCutAt4096Bytes() {
  QFETCH(int, length);
  QFETCH(int, kept);
  QCOMPARE(junmaru::form::CapMemoLine(std::string(length, 'x')).size(), static_cast<std::size_t>(kept));
}

QTEST_MAIN(TestMemo)
#include "TestMemo.moc"
