#include "dialogs.h"

#include <commdlg.h>

#include "error_text.h"

namespace junmaru::win32 {
namespace {

// Room for the longest path the ANSI functions return.
constexpr std::size_t kPathRoom = 32768;

}  // namespace

std::string FileDialog::FilterString() const {
  std::string filter;
  for (const FileFilter& entry : filters_) {
    filter += entry.caption;
    filter += '\0';
    filter += entry.pattern;
    filter += '\0';
  }
  filter += '\0';
  return filter;
}

std::optional<std::string> FileDialog::Execute(HWND owner) const {
  std::vector<char> path(kPathRoom, '\0');
  default_name_.copy(path.data(), std::min(default_name_.size(), path.size() - 1));
  const std::string filter = FilterString();
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrTitle = title_.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
  const BOOL chosen = mode_ == Mode::kOpen ? GetOpenFileNameA(&dialog) : GetSaveFileNameA(&dialog);
  if (!chosen) return std::nullopt;
  return std::string(path.data());
}

void ShowError(HWND owner, const std::string& cp932_text) {
  MessageBoxA(owner, cp932_text.c_str(), junmaru::form::AppTitle().c_str(), MB_OK | MB_ICONSTOP);
}

void ShowInformation(HWND owner, const std::string& cp932_text) {
  MessageBoxA(owner, cp932_text.c_str(), junmaru::form::AppTitle().c_str(), MB_OK | MB_ICONINFORMATION);
}

}  // namespace junmaru::win32
