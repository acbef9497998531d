#pragma once

// A RunView that writes down everything a run reports, in order, as short
// readable events ("status ログ整理中...", "progress 900", "disable run"),
// with texts turned into UTF-8 so that failures print legibly.

#include <string>
#include <vector>

#include "cp932.h"
#include "run_view.h"

namespace junmaru::testing {

class RecordingView : public RunView {
 public:
  void SetStatusText(const std::string& text) override {
    status_text = text;
    events.push_back("status " + Cp932ToUtf8(text));
  }
  void SetStatusColour(StatusColour colour) override {
    error_colour = colour == StatusColour::kError;
    events.push_back(error_colour ? "colour error" : "colour normal");
  }
  bool StatusShowsError() const override { return error_colour; }
  void SetProgress(long long value) override {
    progress.push_back(value);
    events.push_back("progress " + std::to_string(value));
  }
  void SetGaugeBackground(GaugeBackground background) override {
    events.push_back(background == GaugeBackground::kRunning ? "gauge running" : "gauge idle");
  }
  void RepaintNow() override { events.push_back("repaint"); }
  void EnableRun(bool enabled) override { events.push_back(enabled ? "enable run" : "disable run"); }
  void ShowMessage(const std::string& text) override {
    messages.push_back(text);
    events.push_back("message " + Cp932ToUtf8(text));
  }

  // The events that start with prefix, in order.
  std::vector<std::string> Only(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& e : events)
      if (e.compare(0, prefix.size(), prefix) == 0) out.push_back(e);
    return out;
  }

  std::vector<std::string> events;
  std::vector<long long> progress;     // every value set, in order
  std::vector<std::string> messages;   // message boxes, code page 932
  std::string status_text;             // the last status text, code page 932
  bool error_colour = false;
};

}  // namespace junmaru::testing
