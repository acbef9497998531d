// The progress gauge: clamping, the percentage text, redrawing only when
// the percentage changes, and text that contrasts with both colours.

#include <QAccessible>
#include <QImage>
#include <QTest>

#include "progress_gauge.h"
#include "test_support.h"

using junmaru::window::ProgressGauge;

class TestProgressGauge : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void clampsAndShowsWholePercent_data();
  void clampsAndShowsWholePercent();
  void redrawsOnlyWhenPercentChanges();
  void textContrastsWithBarAndBackground();
  void screenReadersReadAProgressBarInPercent();

 private:
  QWidget* host_ = nullptr;
  ProgressGauge* gauge_ = nullptr;
};

void TestProgressGauge::init() {
  host_ = new QWidget;
  host_->resize(600, 40);
  gauge_ = new ProgressGauge(host_);
  gauge_->setGeometry(8, 8, 545, 17);
}

void TestProgressGauge::cleanup() {
  delete host_;
  host_ = nullptr;
}

void TestProgressGauge::clampsAndShowsWholePercent_data() {
  QTest::addColumn<qlonglong>("set");
  QTest::addColumn<qlonglong>("progress");
  QTest::addColumn<QString>("text");
  QTest::newRow("5 shows 0%") << 5LL << 5LL << "0%";
  QTest::newRow("999 shows 99%") << 999LL << 999LL << "99%";
  QTest::newRow("1000 shows 100%") << 1000LL << 1000LL << "100%";
  QTest::newRow("10 shows 1%") << 10LL << 10LL << "1%";
  QTest::newRow("898 shows 89%") << 898LL << 898LL << "89%";
  QTest::newRow("below 0 is 0") << -7LL << 0LL << "0%";
  QTest::newRow("above 1000 is 1000") << 123456789012LL << 1000LL << "100%";
}

void TestProgressGauge::clampsAndShowsWholePercent() {
  QFETCH(qlonglong, set);
  QFETCH(qlonglong, progress);
  QFETCH(QString, text);
  gauge_->SetProgress(set);
  QCOMPARE(gauge_->Progress(), progress);
  QCOMPARE(gauge_->Text(), text);
}

void TestProgressGauge::redrawsOnlyWhenPercentChanges() {
  host_->show();
  QVERIFY(QTest::qWaitForWindowExposed(host_));
  QCoreApplication::processEvents();
  const int before = gauge_->PaintCount();
  gauge_->SetProgress(5);  // still 0%
  gauge_->SetProgress(9);
  QCOMPARE(gauge_->PaintCount(), before);
  gauge_->SetProgress(10);  // 1%, drawn at once without the event loop
  QCOMPARE(gauge_->PaintCount(), before + 1);
  gauge_->SetProgress(19);
  QCOMPARE(gauge_->PaintCount(), before + 1);
  gauge_->SetProgress(5000);
  gauge_->SetProgress(1000);
  QCOMPARE(gauge_->PaintCount(), before + 2);
}

// With a dark bar over a light background and the text straddling the
// bar's end, the text is light over the bar and dark over the background.
void TestProgressGauge::textContrastsWithBarAndBackground() {
  gauge_->SetBarColour(0x550000);   // dark blue
  gauge_->SetBackColour(0xFFFFFF);  // white
  gauge_->SetProgress(500);
  const QImage image = gauge_->grab().toImage();
  const int middle = image.width() / 2;
  bool light_on_bar = false;
  bool dark_on_back = false;
  for (int y = 2; y < image.height() - 2; ++y) {
    for (int x = middle - 40; x < middle + 40; ++x) {
      const QColor pixel = image.pixelColor(x, y);
      const int level = qGray(pixel.rgb());
      if (x < middle - 2 && level > 200) light_on_bar = true;
      if (x > middle + 2 && level < 60) dark_on_back = true;
    }
  }
  QVERIFY(light_on_bar);
  QVERIFY(dark_on_back);
}

// A screen reader finds a progress bar (not a mere filler) whose value is
// the percentage the gauge shows.
void TestProgressGauge::screenReadersReadAProgressBarInPercent() {
  gauge_->SetProgress(423);
  QAccessibleInterface* read = QAccessible::queryAccessibleInterface(gauge_);
  QVERIFY(read);
  QCOMPARE(read->role(), QAccessible::ProgressBar);
  QVERIFY(read->valueInterface());
  QCOMPARE(read->valueInterface()->currentValue().toInt(), 42);
  QCOMPARE(read->valueInterface()->minimumValue().toInt(), 0);
  QCOMPARE(read->valueInterface()->maximumValue().toInt(), 100);
  QCOMPARE(read->text(QAccessible::Value), QStringLiteral("42%"));
  gauge_->SetProgress(1000);
  QCOMPARE(read->valueInterface()->currentValue().toInt(), 100);
}

QTEST_MAIN(TestProgressGauge)
#include "TestProgressGauge.moc"
