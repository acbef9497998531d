#pragma once

// Small logs for the report tests.

#include <string>
#include <vector>

#include "cp932.h"
#include "error.h"
#include "log_lines.h"
#include "ranking_page.h"
#include "recording_view.h"

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

// The error message of a run to the page, in UTF-8; empty when it succeeded.
inline std::string RunFails(const LogLines& log, const RunSettings& settings, const std::string& out,
                            RecordingView& view) {
  try {
    RunRankingToPage(log, settings, out, view);
  } catch (const Error& e) {
    return Cp932ToUtf8(e.what());
  }
  return {};
}
}  // namespace junmaru::testing
