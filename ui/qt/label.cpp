#include "label.h"

#include "widget_text.h"

namespace junmaru::window {

Label::Label(QWidget* parent, Width width) : QLabel(parent), width_(width) {
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

std::string Label::Caption() const { return FromUi(text()); }

void Label::SetCaption(const std::string& cp932) {
  const QString caption = Ui(cp932);
  if (caption == text()) return;
  setText(caption);
  if (width_ == Width::kFollowsText) resize(fontMetrics().horizontalAdvance(caption), height());
}

}  // namespace junmaru::window
