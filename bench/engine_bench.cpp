// Times the engine's two heavy steps on a log: loading it and one ranking
// run over all of its lines. Usage: engine_bench LOG
#include <chrono>
#include <cstdio>

#include "log_lines.h"
#include "ranking_run.h"

namespace {

class QuietView : public junmaru::RunView {
 public:
  void SetStatusText(const std::string&) override {}
  void SetStatusColour(junmaru::StatusColour) override {}
  bool StatusShowsError() const override { return false; }
  void SetProgress(long long) override {}
  void SetGaugeBackground(std::uint32_t) override {}
  void RepaintNow() override {}
  void SetControlEnabled(junmaru::RunControl, bool) override {}
  void ShowMessage(const std::string&) override {}
};

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: engine_bench LOG\n");
    return 2;
  }
  auto start = std::chrono::steady_clock::now();
  junmaru::LogLines lines;
  lines.LoadFromFile(argv[1]);
  double load = SecondsSince(start);

  junmaru::RunSettings settings;
  settings.PStart = 1;
  settings.PEnd = static_cast<long long>(lines.Count());
  QuietView view;
  start = std::chrono::steady_clock::now();
  junmaru::Ranking ranking = junmaru::RunRanking(lines, settings, view);
  double run = SecondsSince(start);
  std::printf("lines %zu  load %.3f s  run %.3f s  paths %zu  top %lld\n", lines.Count(), load, run,
              ranking.Size(), static_cast<long long>(ranking.top_total));
  return 0;
}
