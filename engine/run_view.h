#pragma once

#include <cstdint>
#include <string>

namespace junmaru {

// Colours are the platform's colour integers: blue in the high byte, red
// in the low byte.
namespace colours {
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kGaugeIdle = 13421772;  // #CCCCCC
constexpr std::uint32_t kError = 10066431;      // #FF9999
}  // namespace colours

enum class StatusColour { kNormal, kError };
enum class RunControl { kBtnGo, kPStart, kPEnd };

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
  virtual void SetGaugeBackground(std::uint32_t colour) = 0;
  // Repaint the window at once, without handling other input.
  virtual void RepaintNow() = 0;
  virtual void SetControlEnabled(RunControl control, bool enabled) = 0;
  // A modal informational message box with one OK button.
  virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace junmaru
