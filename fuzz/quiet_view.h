#pragma once

#include "run_view.h"

namespace junmaru::fuzz {

// A RunView that accepts everything and shows nothing.
class QuietView : public RunView {
 public:
  void SetStatusText(const std::string&) override {}
  void SetStatusColour(StatusColour colour) override { error_ = colour == StatusColour::kError; }
  bool StatusShowsError() const override { return error_; }
  void SetProgress(long long) override {}
  void SetGaugeBackground(GaugeBackground) override {}
  void RepaintNow() override {}
  void EnableRun(bool) override {}
  void ShowMessage(const std::string&) override {}

 private:
  bool error_ = false;
};

}  // namespace junmaru::fuzz
