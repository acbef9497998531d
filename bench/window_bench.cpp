// Times the window's two heavy handlers on a log, on whatever platform Qt
// is given (offscreen for measuring): loading the log (DataSet) and a GO run
// over all of its lines, and how steadily the gauge moves during the run.
//
//   window_bench LOG PAGE [PNG]
//
// With PNG, a picture of the window as it stands after GO is saved there.
// It also prints the peak memory before loading and after GO.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTemporaryDir>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "progress_gauge.h"
#include "main_window.h"

using junmaru::form::Control;

namespace {

// Notes the time of every paint of the gauge.
class PaintClock : public QObject {
 public:
  explicit PaintClock(const QElapsedTimer& timer) : timer_(timer) {}
  std::vector<qint64> paints_ns;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) paints_ns.push_back(timer_.nsecsElapsed());
    return false;
  }

 private:
  const QElapsedTimer& timer_;
};

// The peak resident memory of the process so far.
long PeakKib() {
  struct rusage usage {};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: window_bench LOG PAGE [PNG]\n");
    return 2;
  }
  QTemporaryDir settings_folder;
  junmaru::window::MainWindow form((settings_folder.path() + "/junmaru_setting.ini").toStdString());
  form.show();
  app.processEvents();

  // The window's own memory before the log, so that what loading and GO
  // add can be told from what Qt and the fonts take whatever the log.
  const long before_kib = PeakKib();
  QElapsedTimer timer;
  timer.start();
  form.DataSet(argv[1], argv[2]);
  const double load_s = timer.nsecsElapsed() / 1e9;

  PaintClock clock(timer);
  form.Get<junmaru::window::ProgressGauge>(Control("Gauge"))->installEventFilter(&clock);
  timer.restart();
  form.BtnGoClick();
  const qint64 run_ns = timer.nsecsElapsed();

  // The longest time the gauge stood still, from the start of the run to
  // its first paint, between paints, and from the last paint to the end.
  qint64 longest = 0, previous = 0;
  for (qint64 t : clock.paints_ns) {
    longest = std::max(longest, t - previous);
    previous = t;
  }
  longest = std::max(longest, run_ns - previous);
  std::printf(
      "lines %zu  load %.3f s  GO %.3f s  gauge paints %zu  longest still %.3f s  progress %lld  "
      "before %ld KiB  peak %ld KiB\n",
      form.Lines().Count(), load_s, run_ns / 1e9, clock.paints_ns.size(), longest / 1e9,
      static_cast<long long>(form.Get<junmaru::window::ProgressGauge>(Control("Gauge"))->Progress()), before_kib,
      PeakKib());
  if (argc == 4) form.grab().save(QString::fromLocal8Bit(argv[3]));
  return 0;
}
