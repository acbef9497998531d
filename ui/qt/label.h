#pragma once

// A one-line caption. A label that follows its text takes the text's width
// whenever the text is set, so that a longer caption (a date, a line count)
// is never cut off; the design width holds until the first change. A fixed
// label (the path displays) keeps its size.

#include <QLabel>
#include <string>

namespace junmaru::window {

class Label : public QLabel {
  Q_OBJECT

 public:
  enum class Width { kFollowsText, kFixed };

  explicit Label(QWidget* parent, Width width = Width::kFollowsText);

  std::string Caption() const;  // code page 932
  // Setting the text the label already shows changes nothing.
  void SetCaption(const std::string& cp932);

 private:
  Width width_;
};

}  // namespace junmaru::window
