#pragma once

// A RunView that writes down everything a run tells it, as one line per
// call, so that tests can compare the whole sequence.

#include <string>
#include <vector>

#include "cp932.h"
#include "run_view.h"

namespace junmaru::testing {

class RecordingView : public RunView {
 public:
  std::vector<std::string> calls;  // e.g. "status ログ整理中..." (UTF-8), "progress 900"
  std::vector<long long> progress;
  bool error_colour = false;

  void SetStatusText(const std::string& text) override { calls.push_back("status " + Cp932ToUtf8(text)); }
  void SetStatusColour(StatusColour colour) override {
    error_colour = colour == StatusColour::kError;
    calls.push_back(error_colour ? "colour error" : "colour normal");
  }
  bool StatusShowsError() const override { return error_colour; }
  void SetProgress(long long value) override {
    progress.push_back(value);
    calls.push_back("progress " + std::to_string(value));
  }
  void SetGaugeBackground(std::uint32_t colour) override { calls.push_back("gauge " + std::to_string(colour)); }
  void RepaintNow() override { calls.push_back("repaint"); }
  void SetControlEnabled(RunControl control, bool enabled) override {
    const char* name = control == RunControl::kBtnGo ? "BtnGo" : control == RunControl::kPStart ? "PStart" : "PEnd";
    calls.push_back(std::string(enabled ? "enable " : "disable ") + name);
  }
  void ShowMessage(const std::string& text) override { calls.push_back("message " + Cp932ToUtf8(text)); }

  // The calls other than progress, in order.
  std::vector<std::string> Events() const {
    std::vector<std::string> events;
    for (const auto& call : calls)
      if (call.rfind("progress ", 0) != 0) events.push_back(call);
    return events;
  }
};

}  // namespace junmaru::testing
