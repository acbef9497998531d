#include "line_paths.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace junmaru {
namespace {

// A log whose lines are downloads, other requests, blank lines and noise,
// so that the paths come and go irregularly.
LogLines MixedLog(std::size_t count) {
  std::mt19937 rng(15);
  std::string bytes;
  for (std::size_t i = 0; i < count; ++i) {
    switch (rng() % 4) {
      case 0: bytes += "h - - [01/Jan/2024:00:00:00 +0900] \"GET /f" + std::to_string(rng() % 50) + ".zip HTTP/1.1\" 200 1"; break;
      case 1: bytes += "h - - [01/Jan/2024:00:00:00 +0900] \"POST /f.zip HTTP/1.1\" 200 1"; break;
      case 2: break;
      default: bytes += "\"GET  HTTP/1.0\""; break;
    }
    bytes += rng() % 3 == 0 ? "\r\n" : "\n";
  }
  return LogLines::FromBytes(bytes);
}

// The paths, one entry per line; "-" for a line that counts nothing.
std::vector<std::string> Collect(const LogLines& lines, std::size_t first, std::size_t count,
                                 const LinePathsOptions& options) {
  std::vector<std::string> out;
  ForEachLinePath(lines, first, count, [&](const LinePath* paths, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) out.push_back(paths[i] ? "[" + std::string(*paths[i]) + "]" : "-");
  }, options);
  return out;
}

TEST(LinePaths, EveryWayOfHandingOverGivesTheLinesPathsInOrder) {
  const LogLines lines = MixedLog(5000);
  struct Case {
    std::size_t first, count, batch_lines, lines_for_thread;
  };
  const Case cases[] = {
      {0, 5000, 4096, 1 << 18},  // one thread
      {0, 5000, 7, 1},           // a second thread, many turns of the ring
      {13, 4000, 1000, 1},       // whole batches from inside the log
      {4999, 1, 3, 1},           // the last line alone
      {100, 9, 3, 1},            // exactly as many batches as fit in the ring
      {0, 5000, 5000, 1},        // one batch: no second thread
  };
  for (const Case& c : cases) {
    std::vector<std::string> expected;
    for (std::size_t i = c.first; i < c.first + c.count; ++i) {
      const LinePath path = RequestFilter::DownloadPath(lines[i]);
      expected.push_back(path ? "[" + std::string(*path) + "]" : "-");
    }
    EXPECT_EQ(Collect(lines, c.first, c.count, {c.batch_lines, c.lines_for_thread}), expected)
        << c.first << " " << c.count << " " << c.batch_lines;
  }
}

TEST(LinePaths, AFailureWhileCountingStopsTheReadingThread) {
  const LogLines lines = MixedLog(3000);
  std::size_t batches = 0;
  EXPECT_THROW(ForEachLinePath(lines, 0, 3000,
                               [&](const LinePath*, std::size_t) {
                                 if (++batches == 3) throw std::runtime_error("full");
                               },
                               {10, 1}),
               std::runtime_error);
  EXPECT_EQ(batches, 3u);
}

}  // namespace
}  // namespace junmaru
