#pragma once

// The settings record through a file, as the window reads it at start and
// writes it at close.

#include <string>

#include "profile_file.h"
#include "settings.h"

namespace junmaru::testing {

inline Settings ReadSettingsFile(const std::string& path) { return ReadSettings(ProfileFile(path)); }

// Writes every value and closes the file; fails as ProfileFile::Close fails.
inline void WriteSettingsFile(const std::string& path, const Settings& s) {
  ProfileFile file(path);
  WriteSettings(file, s);
  file.Close();
}

}  // namespace junmaru::testing
