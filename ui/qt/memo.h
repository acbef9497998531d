#pragma once

// A multi-line edit with word wrap whose lines are the lines as the user
// typed them, separated by line breaks: an entry too wide for the edit is
// shown on several rows and is still one line. A final empty line (the
// text ends with a line break) is not counted, so an empty memo has no
// lines.
//
// A line put in by SetLines and not edited since comes back byte for byte,
// also where its bytes have no Unicode form of their own (a character that
// code page 932 encodes twice, a byte that forms no character): the words
// the window uses are then the words of the settings file.

#include <QPlainTextEdit>
#include <string>
#include <unordered_map>
#include <vector>

namespace junmaru::window {

class Memo : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit Memo(QWidget* parent);

  // The lines, each in code page 932 and cut at 4096 bytes.
  std::vector<std::string> Lines() const;
  // Replaces the text by these lines (code page 932), one entry per line.
  void SetLines(const std::vector<std::string>& lines);

 private:
  // The bytes each line had when SetLines put it in, by the bytes that
  // its text as shown reads back as.
  std::unordered_map<std::string, std::string> set_lines_;
};

}  // namespace junmaru::window
