// The memo's lines: the lines as typed, however word wrap displays them,
// without a final empty line, each cut at 4096 bytes; lines put in by the
// program come back byte for byte.

#include <QPlainTextDocumentLayout>
#include <QTest>
#include <QTextBlock>

#include "memo.h"
#include "memo_line.h"
#include "test_support.h"

using junmaru::window::Memo;
using junmaru::window::testing::Cp;
using junmaru::window::testing::Q;

namespace {

// Wider than the memo in any face: its rows are pieces of one word.
const char kWide[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

}  // namespace

class TestMemo : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void linesAsTyped_data();
  void linesAsTyped();
  void wideEntryIsOneLine();
  void linesAreReadBeforeTheWindowIsShown();
  void setLinesRoundTrip();
  void setLinesComeBackByteForByte_data();
  void setLinesComeBackByteForByte();
  void splitAtEveryKindOfLineBreak_data();
  void splitAtEveryKindOfLineBreak();
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

void TestMemo::linesAsTyped_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QStringList>("lines");
  QTest::newRow("empty memo has no lines") << "" << QStringList{};
  QTest::newRow("a word and a break is one line") << "word\n" << QStringList{"word"};
  QTest::newRow("a word without a break") << "word" << QStringList{"word"};
  QTest::newRow("word, empty line, word is three") << "a\n\nb" << QStringList{"a", "", "b"};
  QTest::newRow("only the final empty line is dropped") << "a\n\n" << QStringList{"a", ""};
  QTest::newRow("a lone break is one empty line") << "\n" << QStringList{""};
  QTest::newRow("Japanese words") << Q("例）禁止ワード1\n例）禁止ワード2") << QStringList{Q("例）禁止ワード1"), Q("例）禁止ワード2")};
  QTest::newRow("62 characters wider than the memo") << Q(kWide) << QStringList{Q(kWide)};
  QTest::newRow("words with spaces wider than the memo")
      << Q("one two three four five six seven eight nine ten\nx")
      << QStringList{Q("one two three four five six seven eight nine ten"), Q("x")};
  QTest::newRow("Shift+Enter breaks the line too") << Q("a\u2028b") << QStringList{"a", "b"};
}

void TestMemo::linesAsTyped() {
  QFETCH(QString, text);
  QFETCH(QStringList, lines);
  host_->show();
  memo_->setPlainText(text);
  std::vector<std::string> expected;
  for (const QString& line : lines) expected.push_back(Cp(line.toUtf8().constData()));
  QCOMPARE(memo_->Lines(), expected);
}

// The memo shows a word wider than itself on several rows; the word is
// still one line, whole, whatever the face's width.
void TestMemo::wideEntryIsOneLine() {
  host_->show();
  memo_->SetLines({kWide});
  QVERIFY(QTest::qWaitForWindowExposed(host_));
  const QTextBlock block = memo_->document()->firstBlock();
  qobject_cast<QPlainTextDocumentLayout*>(memo_->document()->documentLayout())->ensureBlockLayout(block);
  QVERIFY(block.layout()->lineCount() >= 2);
  QCOMPARE(memo_->Lines(), std::vector<std::string>{kWide});
  // Typed without a line break, too.
  memo_->setPlainText(Q(kWide));
  QCOMPARE(memo_->Lines(), std::vector<std::string>{kWide});
}

// The run may read the memo of a window that was never shown.
void TestMemo::linesAreReadBeforeTheWindowIsShown() {
  memo_->setPlainText(Q(kWide) + QStringLiteral("\nshort"));
  QCOMPARE(memo_->Lines(), (std::vector<std::string>{kWide, "short"}));
}

void TestMemo::setLinesRoundTrip() {
  host_->show();
  const std::vector<std::string> lines = {Cp("禁止"), "", "cgi-bin"};
  memo_->SetLines(lines);
  QCOMPARE(memo_->Lines(), lines);
  memo_->SetLines({});
  QVERIFY(memo_->Lines().empty());
}

void TestMemo::setLinesComeBackByteForByte_data() {
  QTest::addColumn<QByteArray>("stored");
  QTest::newRow("NEC selected IBM extension 0xED40") << QByteArray("\xED\x40");
  QTest::newRow("IBM extension 0xFA5C") << QByteArray("\xFA\x5C");
  QTest::newRow("byte that is no character") << QByteArray("a\x80z");
  QTest::newRow("lead byte at the end") << QByteArray("dl\x82");
  QTest::newRow("plain Japanese") << QByteArray(Cp("禁止").c_str());
}

// A stored word comes back from the memo as stored, so that the window
// drops the same files as the batch program, which reads the file.
void TestMemo::setLinesComeBackByteForByte() {
  QFETCH(QByteArray, stored);
  const std::vector<std::string> lines = {"first", stored.toStdString(), "last"};
  memo_->SetLines(lines);
  QCOMPARE(memo_->Lines(), lines);
  // A line typed anew reads as its text.
  memo_->setPlainText(memo_->toPlainText() + QStringLiteral("\nnew"));
  QCOMPARE(memo_->Lines().back(), std::string("new"));
  QCOMPARE(memo_->Lines()[1], stored.toStdString());
}

void TestMemo::splitAtEveryKindOfLineBreak_data() {
  QTest::addColumn<QByteArray>("text");
  QTest::addColumn<QList<QByteArray>>("lines");
  QTest::newRow("empty") << QByteArray() << QList<QByteArray>{};
  QTest::newRow("CR LF") << QByteArray("a\r\nb") << QList<QByteArray>{"a", "b"};
  QTest::newRow("lone CR") << QByteArray("a\rb") << QList<QByteArray>{"a", "b"};
  QTest::newRow("LF then CR is two breaks") << QByteArray("a\n\rb") << QList<QByteArray>{"a", "", "b"};
  QTest::newRow("final CR LF adds no line") << QByteArray("a\r\n") << QList<QByteArray>{"a"};
  QTest::newRow("lone break is one empty line") << QByteArray("\r\n") << QList<QByteArray>{""};
}

void TestMemo::splitAtEveryKindOfLineBreak() {
  QFETCH(QByteArray, text);
  QFETCH(QList<QByteArray>, lines);
  QList<QByteArray> split;
  for (std::string_view line : junmaru::form::SplitMemoText(std::string_view(text.constData(), text.size()))) {
    split << QByteArray(line.data(), static_cast<qsizetype>(line.size()));
  }
  QCOMPARE(split, lines);
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
