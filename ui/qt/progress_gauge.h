#pragma once

// A horizontal progress bar from 0 to 1000 that shows the whole percentage
// centred on it. It redraws itself at once, and only, when the shown
// percentage changes, so a run may set it after every log line. A screen
// reader meets it as a progress bar whose value is that percentage, and
// hears of each change.

#include <QWidget>
#include <cstdint>

namespace junmaru::window {

class ProgressGauge : public QWidget {
  Q_OBJECT

 public:
  explicit ProgressGauge(QWidget* parent);

  std::int64_t Progress() const { return progress_; }
  // Clamped to 0..1000.
  void SetProgress(long long progress);
  int Percent() const;
  QString Text() const;

  std::uint32_t BackColour() const { return back_colour_; }
  std::uint32_t BarColour() const { return bar_colour_; }
  void SetBackColour(std::uint32_t colour_ref);
  void SetBarColour(std::uint32_t colour_ref);

  // How many times the gauge has drawn itself.
  int PaintCount() const { return paint_count_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::int64_t progress_ = 0;
  std::uint32_t back_colour_;
  std::uint32_t bar_colour_;
  int paint_count_ = 0;
};

}  // namespace junmaru::window
