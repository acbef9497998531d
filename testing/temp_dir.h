#pragma once

// A fresh folder for one test, removed with everything in it afterwards,
// and whole-file helpers.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "unique_folder.h"

namespace junmaru::testing {

class TempDir {
 public:
  TempDir() : path_(MakeUniqueFolder("junmaru-test-").string()) {}
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // Writes the file name in the folder and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const;
  const std::string& path() const { return path_; }
  // The names in the folder, sorted and joined by spaces.
  std::string Entries() const;
  static std::string Entries(const std::string& folder);

 private:
  std::string path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The file's bytes; empty when it cannot be read.
inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
  WriteBytes(File(name), bytes);
  return File(name);
}

inline std::string TempDir::Entries() const { return Entries(path_); }

inline std::string TempDir::Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  std::string out;
  for (const std::string& name : names) out += (out.empty() ? "" : " ") + name;
  return out;
}

}  // namespace junmaru::testing
