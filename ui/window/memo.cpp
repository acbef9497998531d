#include "memo.h"

#include <QCoreApplication>
#include <QPlainTextDocumentLayout>
#include <QResizeEvent>
#include <QTextBlock>
#include <QTextLayout>

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

// The wrap width is set when the edit gets its size; a window that has
// not been shown yet still holds that resize back, so deliver it now and
// have the document laid out again at the edit's width.
void Memo::EnsureLaidOut() {
  if (testAttribute(Qt::WA_PendingResizeEvent)) {
    QResizeEvent resize(size(), QSize());
    QCoreApplication::sendEvent(this, &resize);
    setAttribute(Qt::WA_PendingResizeEvent, false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
  }
}

std::vector<std::string> Memo::Lines() {
  EnsureLaidOut();
  auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document()->documentLayout());
  std::vector<std::string> lines;
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
    const QString text = block.text();
    const bool last = !block.next().isValid();
    if (last && text.isEmpty()) break;
    layout->ensureBlockLayout(block);
    const QTextLayout* block_layout = block.layout();
    if (block_layout->lineCount() == 0) {
      lines.push_back(form::CapMemoLine(FromUi(text)));
      continue;
    }
    for (int i = 0; i < block_layout->lineCount(); ++i) {
      const QTextLine line = block_layout->lineAt(i);
      QString part = text.mid(line.textStart(), line.textLength());
      part.remove(QChar::LineSeparator);
      lines.push_back(form::CapMemoLine(FromUi(part)));
    }
  }
  return lines;
}

void Memo::SetLines(const std::vector<std::string>& lines) {
  QStringList texts;
  for (const std::string& line : lines) texts << Ui(line);
  setPlainText(texts.join(QLatin1Char('\n')));
}

}  // namespace junmaru::window
