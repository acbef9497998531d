#include "memo.h"

#include "memo_line.h"
#include "widget_text.h"

namespace junmaru::window {

Memo::Memo(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setTabChangesFocus(true);
}

std::vector<std::string> Memo::Lines() const {
  // The plain text has every line break as LF, also one typed with
  // Shift+Enter; the rows that word wrap makes are not in it.
  const std::string text = FromUi(toPlainText());
  std::vector<std::string> lines;
  for (std::string_view typed : form::SplitMemoText(text)) {
    const auto set = set_lines_.find(std::string(typed));
    lines.push_back(form::CapMemoLine(set != set_lines_.end() ? set->second : typed));
  }
  return lines;
}

void Memo::SetLines(const std::vector<std::string>& lines) {
  set_lines_.clear();
  QStringList texts;
  texts.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) {
    texts << Ui(line);
    set_lines_.emplace(FromUi(texts.back()), line);
  }
  setPlainText(texts.join(QLatin1Char('\n')));
}

}  // namespace junmaru::window
