#include "file_dialog.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QStringList>
#include <deque>

#include "widget_text.h"

namespace junmaru::window {
namespace {

std::deque<std::optional<std::string>>& Answers() {
  static std::deque<std::optional<std::string>> answers;
  return answers;
}

}  // namespace

FileDialog::FileDialog(Mode mode, std::string title, std::vector<Filter> filters, std::string default_name)
    : mode_(mode), title_(std::move(title)), filters_(std::move(filters)), default_name_(std::move(default_name)) {}

QStringList FileDialog::NameFilters() const {
  QStringList list;
  for (const Filter& filter : filters_) {
    // "*.*" matches only names with a dot here; every file is meant, so an
    // access log without an extension can be chosen too. The pattern in
    // the trailing parentheses is the one the dialog applies.
    const QString pattern = filter.pattern == "*.*" ? QStringLiteral("*") : Ui(filter.pattern);
    list << Ui(filter.caption) + QStringLiteral(" (") + pattern + QLatin1Char(')');
  }
  return list;
}

std::optional<std::string> FileDialog::Execute(QWidget* parent, const std::string& start_folder) const {
  if (!Answers().empty()) {
    std::optional<std::string> answer = Answers().front();
    Answers().pop_front();
    return answer;
  }
  QFileDialog dialog(parent, Ui(title_));
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters(NameFilters());
  dialog.setAcceptMode(mode_ == Mode::kOpen ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  // Neither dialog insists that the file exist (a missing log is reported
  // by the load), nor asks before a file is replaced, nor adds an
  // extension to a name typed without one.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (!start_folder.empty()) dialog.setDirectory(QFile::decodeName(QByteArray::fromStdString(start_folder)));
  if (!default_name_.empty()) dialog.selectFile(Ui(default_name_));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QFile::encodeName(QDir::toNativeSeparators(dialog.selectedFiles().front())).toStdString();
}

void FileDialog::QueueAnswer(std::optional<std::string> answer) { Answers().push_back(std::move(answer)); }

void FileDialog::ClearAnswers() { Answers().clear(); }

}  // namespace junmaru::window
