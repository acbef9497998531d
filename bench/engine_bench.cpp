// Times what the window does with a log: loading it, and GO over all of
// its lines, and watches the gauge during GO as the window would show it
// (whole percentages). Usage: engine_bench LOG [PAGE]
// With PAGE, GO is the whole action up to the saved page; without it, the
// ranking run alone.
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "log_lines.h"
#include "ranking_page.h"
#include "ranking_run.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Notes when the shown percentage changes and the longest time it stood still.
class GaugeWatch : public junmaru::RunView {
 public:
  void SetStatusText(const std::string&) override { Step(); }
  void SetStatusColour(junmaru::StatusColour) override {}
  bool StatusShowsError() const override { return false; }
  void SetProgress(long long value) override {
    const long long percent = std::clamp(value, 0LL, 1000LL) / 10;
    if (percent != percent_) {
      percent_ = percent;
      ++steps_;
      Step();
    }
  }
  void SetGaugeBackground(std::uint32_t) override {}
  void RepaintNow() override {}
  void SetControlEnabled(junmaru::RunControl, bool) override {}
  void ShowMessage(const std::string&) override {}

  void Start() { last_ = Clock::now(); }
  void Finish() { Step(); }
  int steps() const { return steps_; }
  double longest_still() const { return longest_; }

 private:
  void Step() {
    const auto now = Clock::now();
    longest_ = std::max(longest_, std::chrono::duration<double>(now - last_).count());
    last_ = now;
  }
  long long percent_ = -1;
  int steps_ = 0;
  double longest_ = 0;
  Clock::time_point last_ = Clock::now();
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: engine_bench LOG [PAGE]\n");
    return 2;
  }
  auto start = Clock::now();
  junmaru::LogLines lines;
  lines.LoadFromFile(argv[1]);
  const double load = SecondsSince(start);

  junmaru::RunSettings settings;
  settings.PStart = 1;
  settings.PEnd = static_cast<long long>(lines.Count());
  GaugeWatch view;
  view.Start();
  start = Clock::now();
  if (argc == 3) {
    junmaru::RunRankingToPage(lines, settings, argv[2], view);
    view.Finish();
    std::printf("lines %zu  load %.3f s  go %.3f s  gauge steps %d  longest still %.3f s\n", lines.Count(), load,
                SecondsSince(start), view.steps(), view.longest_still());
    return 0;
  }
  const junmaru::Ranking ranking = junmaru::RunRanking(lines, settings, view);
  const double run = SecondsSince(start);
  view.Finish();
  std::printf("lines %zu  load %.3f s  run %.3f s  paths %zu  top %lld  gauge steps %d  longest still %.3f s\n",
              lines.Count(), load, run, ranking.Size(), static_cast<long long>(ranking.top_total), view.steps(),
              view.longest_still());
  return 0;
}
