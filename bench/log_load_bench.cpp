// Times loading a log as the window and junmaru-batch load it: the file
// (or several, joined) read, decompressed when gzip, and split into lines.
//
//   log_load_bench [--rounds N] LOG...
//
// Prints one line per round: wall and processor seconds, the bytes of text
// produced (decompressed), lines, and MB/s of text per wall and per
// processor second (the latter holds still on a busy machine); peak memory
// is for /usr/bin/time -v to measure.

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "error.h"
#include "log_lines.h"

int main(int argc, char** argv) {
  int rounds = 1;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) {
      rounds = std::atoi(argv[++i]);
    } else {
      paths.emplace_back(argv[i]);
    }
  }
  if (paths.empty() || rounds < 1) {
    std::fprintf(stderr, "usage: log_load_bench [--rounds N] LOG...\n");
    return 2;
  }
  for (int round = 0; round < rounds; ++round) {
    junmaru::LogLines lines;
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpu_start = std::clock();
    try {
      lines.LoadFromFiles(paths);
    } catch (const junmaru::Error&) {
      std::fprintf(stderr, "log_load_bench: the log could not be loaded\n");
      return 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu_seconds = static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC;
    std::size_t bytes = 0;
    if (!lines.Empty()) bytes = static_cast<std::size_t>(lines.Begin(lines.Count() - 1) - lines.Begin(0)) + lines[lines.Count() - 1].size();
    std::printf("%.3f s  %.3f cpu s  %zu bytes  %zu lines  %.0f MB/s  %.0f MB/cpu s\n", seconds, cpu_seconds, bytes,
                lines.Count(), bytes / seconds / 1e6, bytes / cpu_seconds / 1e6);
  }
  return 0;
}
