#include "group_box.h"

#include <QPainter>

namespace junmaru::window {

GroupBox::GroupBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

void GroupBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFontMetrics metrics = fontMetrics();
  const int line = metrics.height() / 2;
  // An etched frame: a shadow line with a light line inside it.
  const QRect frame(0, line, width() - 1, height() - line - 1);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(frame.adjusted(0, 0, -1, -1));
  painter.setPen(palette().color(QPalette::Light));
  painter.drawRect(frame.adjusted(1, 1, 0, 0));

  const QString caption = title();
  if (caption.isEmpty()) return;
  const QRect text_box(8, 0, metrics.horizontalAdvance(caption) + 2, metrics.height());
  painter.fillRect(text_box, palette().color(QPalette::Window));
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  painter.drawText(text_box, Qt::AlignCenter, caption);
}

}  // namespace junmaru::window
