#pragma once

// The standard file-open and file-save dialogs (GetOpenFileNameA,
// GetSaveFileNameA) as the window configures them, and the program's
// message boxes. Paths and texts are code page 932 bytes, passed as they
// are; the dialogs themselves speak the user's Windows language.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "control_table.h"

namespace junmaru::win32 {

using FileFilter = junmaru::form::FileFilter;

class FileDialog {
 public:
  enum class Mode { kOpen, kSave };

  FileDialog(Mode mode, std::string title, std::vector<FileFilter> filters, std::string default_name)
      : mode_(mode), title_(std::move(title)), filters_(std::move(filters)), default_name_(std::move(default_name)) {}

  // The chosen file's full path, or nothing when the user cancels. The
  // open dialog does not insist that the file exist; the save dialog adds
  // no extension and asks nothing about an existing file.
  std::optional<std::string> Execute(HWND owner) const;

  // The filter list as the dialog takes it: caption NUL pattern NUL ... NUL.
  std::string FilterString() const;

 private:
  Mode mode_;
  std::string title_;
  std::vector<FileFilter> filters_;
  std::string default_name_;
};

// A modal message box with one OK button and the caption "順位丸": the
// stop icon for an error, the information icon for a notice.
void ShowError(HWND owner, const std::string& cp932_text);
void ShowInformation(HWND owner, const std::string& cp932_text);

}  // namespace junmaru::win32
