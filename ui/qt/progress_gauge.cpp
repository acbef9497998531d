#include "progress_gauge.h"

#include <QAccessible>
#include <QAccessibleWidget>
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

// The gauge as a screen reader reads it: a progress bar from 0 to 100 whose
// value is the shown percentage.
class GaugeAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit GaugeAccessible(ProgressGauge* gauge) : QAccessibleWidget(gauge, QAccessible::ProgressBar) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Value ? Gauge()->Text() : QAccessibleWidget::text(t);
  }
  QVariant currentValue() const override { return Gauge()->Percent(); }
  void setCurrentValue(const QVariant&) override {}  // the run sets it, never the reader
  QVariant maximumValue() const override { return 100; }
  QVariant minimumValue() const override { return 0; }
  QVariant minimumStepSize() const override { return 1; }

 private:
  ProgressGauge* Gauge() const { return static_cast<ProgressGauge*>(widget()); }
};

QAccessibleInterface* GaugeInterface(const QString& class_name, QObject* object) {
  if (class_name != QLatin1String(ProgressGauge::staticMetaObject.className())) return nullptr;
  return new GaugeAccessible(static_cast<ProgressGauge*>(object));
}

}  // namespace

ProgressGauge::ProgressGauge(QWidget* parent)
    : QWidget(parent), back_colour_(form::colours::kGaugeIdle), bar_colour_(form::colours::kGaugeBar) {
  static const bool installed = (QAccessible::installFactory(GaugeInterface), true);
  (void)installed;
  setFocusPolicy(Qt::NoFocus);
}

void ProgressGauge::SetProgress(long long progress) {
  const int before = Percent();
  progress_ = form::ClampProgress(progress);
  if (Percent() == before) return;
  repaint();
  QAccessibleValueChangeEvent changed(this, Percent());
  QAccessible::updateAccessibility(&changed);
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
