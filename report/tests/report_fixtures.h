#pragma once

// Small logs and folders for the report tests.

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
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

// A fresh folder, removed with everything in it at the end of the test.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = ::testing::TempDir() + "junmaru_report_XXXXXX";
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace junmaru::testing
