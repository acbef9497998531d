#pragma once

// Small access logs for the tests of the page and of the run.

#include <string>
#include <utility>
#include <vector>

#include "log_lines.h"

namespace junmaru::testing {

// One access-log line: a download of path at the given timestamp.
inline std::string LogLine(const std::string& path, const std::string& stamp = "10/Oct/2004:13:55:36 +0900") {
  return "192.0.2.1 - - [" + stamp + "] \"GET " + path + " HTTP/1.1\" 200 1234";
}

// A log in which path i is downloaded counts[i] times.
inline LogLines LogOf(const std::vector<std::pair<std::string, int>>& counts) {
  std::string text;
  for (const auto& [path, count] : counts)
    for (int i = 0; i < count; ++i) text += LogLine(path) + "\r\n";
  return LogLines::FromBytes(text);
}

}  // namespace junmaru::testing
