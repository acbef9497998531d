#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace junmaru::testing {

// A new folder of the given name prefix in the system's temporary folder
// (made here rather than by mkdtemp, which Windows lacks).
inline std::filesystem::path MakeUniqueFolder(const std::string& prefix) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (;;) {
    auto path = std::filesystem::temp_directory_path() / (prefix + std::to_string(random() % 1000000000000));
    if (std::filesystem::create_directory(path)) return path;
  }
}

}  // namespace junmaru::testing
