#include "progress_gauge.h"

#include <QPainter>

#include "colour_ref.h"
#include "gauge_scale.h"
#include "widget_text.h"

namespace junmaru::window {
namespace {

// Black on light colours, white on dark ones.
QColor TextColourOn(const QColor& fill) {
  const int luminance = (fill.red() * 299 + fill.green() * 587 + fill.blue() * 114) / 1000;
  return luminance >= 128 ? Qt::black : Qt::white;
}

}  // namespace

ProgressGauge::ProgressGauge(QWidget* parent)
    : QWidget(parent), back_colour_(form::colours::kGaugeIdle), bar_colour_(form::colours::kGaugeBar) {
  setFocusPolicy(Qt::NoFocus);
}

void ProgressGauge::SetProgress(long long progress) {
  const int before = Percent();
  progress_ = form::ClampProgress(progress);
  if (Percent() != before) repaint();
}

int ProgressGauge::Percent() const { return form::GaugePercent(progress_); }

QString ProgressGauge::Text() const { return QString::fromStdString(form::GaugeText(Percent())); }

void ProgressGauge::SetBackColour(std::uint32_t colour_ref) {
  if (colour_ref == back_colour_) return;
  back_colour_ = colour_ref;
  update();
}

void ProgressGauge::SetBarColour(std::uint32_t colour_ref) {
  if (colour_ref == bar_colour_) return;
  bar_colour_ = colour_ref;
  update();
}

void ProgressGauge::paintEvent(QPaintEvent*) {
  ++paint_count_;
  QPainter painter(this);
  const QRect frame = rect();
  const QRect inside = frame.adjusted(1, 1, -1, -1);
  const int bar_width = static_cast<int>(inside.width() * progress_ / form::kGaugeMax);
  const QRect bar(inside.left(), inside.top(), bar_width, inside.height());
  const QRect rest(inside.left() + bar_width, inside.top(), inside.width() - bar_width, inside.height());
  const QColor back = ColourOf(back_colour_);
  const QColor fill = ColourOf(bar_colour_);

  painter.fillRect(rest, back);
  painter.fillRect(bar, fill);
  painter.setPen(Qt::black);
  painter.drawRect(frame.adjusted(0, 0, -1, -1));

  // The text is drawn twice, each time clipped to one colour's area, so
  // that every part of it contrasts with what lies beneath.
  const QString text = Text();
  painter.setFont(font());
  for (const auto& [area, under] : {std::pair{bar, fill}, std::pair{rest, back}}) {
    if (area.isEmpty()) continue;
    painter.save();
    painter.setClipRect(area);
    painter.setPen(TextColourOn(under));
    painter.drawText(inside, Qt::AlignCenter, text);
    painter.restore();
  }
}

}  // namespace junmaru::window
