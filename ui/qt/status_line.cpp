#include "status_line.h"

#include <QPainter>
#include <QPalette>

#include "colour_ref.h"
#include "widget_text.h"

namespace junmaru::window {

StatusLine::StatusLine(QWidget* parent, int room) : Label(parent), room_(room) {
  setAutoFillBackground(true);
  SetErrorColour(false);
}

void StatusLine::SetCaption(const std::string& cp932) {
  Label::SetCaption(cp932);
  const bool fits = fontMetrics().horizontalAdvance(text()) <= room_;
  if (!fits) resize(room_, height());
  setToolTip(fits ? QString() : text());
}

QString StatusLine::ShownText() const {
  if (fontMetrics().horizontalAdvance(text()) <= width()) return text();
  return fontMetrics().elidedText(text(), Qt::ElideMiddle, width());
}

void StatusLine::paintEvent(QPaintEvent* event) {
  if (ShownText() == text()) {
    Label::paintEvent(event);
    return;
  }
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(contentsRect(), static_cast<int>(alignment()), ShownText());
}

void StatusLine::SetErrorColour(bool error) {
  error_ = error;
  QPalette colours = palette();
  colours.setColor(QPalette::Window,
                   error ? ColourOf(form::colours::kError) : QPalette().color(QPalette::Button));
  setPalette(colours);
}

}  // namespace junmaru::window
