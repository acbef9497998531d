#pragma once

// A multi-line edit with word wrap whose lines are the lines as displayed:
// an entry too wide for the edit continues on a further line and counts as
// a line of its own. A final empty line (the text ends with a line break)
// is not counted, so an empty memo has no lines.

#include <QPlainTextEdit>
#include <string>
#include <vector>

namespace junmaru::window {

class Memo : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit Memo(QWidget* parent);

  // The displayed lines, each in code page 932 and cut at 4096 bytes.
  std::vector<std::string> Lines();
  // Replaces the text by these lines (code page 932), one entry per line.
  void SetLines(const std::vector<std::string>& lines);

 private:
  void EnsureLaidOut();
};

}  // namespace junmaru::window
