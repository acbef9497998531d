#pragma once

// A file-open or file-save dialog as the window configures it: title,
// filters and default file name. Paths come back as the platform's native
// bytes, so that any file chosen can be opened. Tests queue answers, and
// then no dialog is shown.

#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "control_table.h"

class QWidget;


namespace junmaru::window {

class FileDialog {
 public:
  enum class Mode { kOpen, kSave };
  using Filter = form::FileFilter;

  FileDialog(Mode mode, std::string title, std::vector<Filter> filters, std::string default_name);

  // The chosen file's full path, or nothing when the user cancels.
  std::optional<std::string> Execute(QWidget* parent, const std::string& start_folder) const;

  Mode GetMode() const { return mode_; }
  const std::string& Title() const { return title_; }
  const std::vector<Filter>& Filters() const { return filters_; }
  const std::string& DefaultName() const { return default_name_; }
  // The filter list as the dialog receives it.
  QStringList NameFilters() const;

  // The next Execute returns this answer instead of showing a dialog.
  static void QueueAnswer(std::optional<std::string> answer);
  static void ClearAnswers();

 private:
  Mode mode_;
  std::string title_;
  std::vector<Filter> filters_;
  std::string default_name_;
};

}  // namespace junmaru::window
