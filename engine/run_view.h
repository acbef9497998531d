#pragma once

#include <string>

namespace junmaru {

enum class StatusColour { kNormal, kError };
// The gauge's background: idle between runs, running from the start of a run.
enum class GaugeBackground { kIdle, kRunning };

// What a ranking run and the timestamp reader report to: the window, the
// terminal, or a test's recorder. Texts are code page 932 bytes.
class RunView {
 public:
  virtual ~RunView() = default;
  virtual void SetStatusText(const std::string& text) = 0;
  virtual void SetStatusColour(StatusColour colour) = 0;
  virtual bool StatusShowsError() const = 0;
  // Progress 0 to 1000; values outside are clamped by the gauge.
  virtual void SetProgress(long long progress) = 0;
  virtual void SetGaugeBackground(GaugeBackground background) = 0;
  // Repaint the window at once, without handling other input.
  virtual void RepaintNow() = 0;
  // Offers or withdraws a run: GO and the two range spinners together.
  virtual void EnableRun(bool enabled) = 0;
  // A modal informational message box with one OK button.
  virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace junmaru
