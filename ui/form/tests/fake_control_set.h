#pragma once

// A window without a toolkit: every control is a plain field that starts
// at its design value, and a real change of PStart, PEnd or Link runs the
// form's handler as a window's binding does, an error that leaves it going
// to the error display (here: the list `errors`).

#include <array>
#include <cstdio>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "colour_ref.h"
#include "control_set.h"
#include "cp932.h"
#include "error_text.h"
#include "t_form1.h"

namespace junmaru::form::testing {

struct FakeSpin {
  std::string text;
  std::int32_t minimum, maximum;
};

class FakeControlSet : public ControlSet {
 public:
  TForm1* form = nullptr;  // whose handlers the changes run

  std::array<std::string, 7> captions;  // by Caption
  std::array<FakeSpin, 5> spins{{{"1", 1, 10}, {"2", 2, 10}, {"100", 10, 10000}, {"80", 10, 10000}, {"40", 10, 10000}}};
  std::array<bool, 11> checks{false, false, false, false, true, true, true, true, true, true, false};
  std::array<std::string, 8> edits{"#000055", "#5599CC", "#FFFFFF", "#88F0AA", "#33CCCC", "#669966", "#CC3366", "./"};
  bool prefix_enabled = false;
  std::uint32_t prefix_colour = colours::kGaugeIdle;
  std::vector<std::string> memo{Sjis("例）禁止ワード1"), Sjis("例）禁止ワード2")};
  std::deque<std::optional<std::string>> dialog_answers;  // the next Execute takes the front
  std::vector<Dialog> dialogs_shown;
  std::vector<std::string> errors, messages;

  std::string status = Sjis("待機中");
  bool status_error = false;
  long long progress = 0;
  std::uint32_t gauge_back = colours::kGaugeIdle;
  bool run_enabled = false;  // GO and the range spinners

  std::string& Caption(form::Caption c) { return captions[static_cast<std::size_t>(c)]; }
  FakeSpin& Spin(form::Spin s) { return spins[static_cast<std::size_t>(s)]; }

  // Runs a handler as the window does, under the error display.
  void Run(void (TForm1::*handler)()) {
    try {
      (form->*handler)();
    } catch (...) {
      errors.push_back(CurrentErrorDisplayText());
    }
  }

  void SetCaption(form::Caption c, const std::string& text) override { Caption(c) = text; }
  std::string SpinText(form::Spin s) const override { return spins[static_cast<std::size_t>(s)].text; }
  void SetSpinText(form::Spin s, const std::string& text) override {
    if (Spin(s).text == text) return;
    Spin(s).text = text;
    if (s == form::Spin::kPStart) Run(&TForm1::PStartChange);
    if (s == form::Spin::kPEnd) Run(&TForm1::PEndChange);
  }
  std::int32_t SpinMin(form::Spin s) const override { return spins[static_cast<std::size_t>(s)].minimum; }
  std::int32_t SpinMax(form::Spin s) const override { return spins[static_cast<std::size_t>(s)].maximum; }
  void SetSpinMax(form::Spin s, std::int32_t maximum) override { Spin(s).maximum = maximum; }
  bool Checked(Check c) const override { return checks[static_cast<std::size_t>(c)]; }
  void SetChecked(Check c, bool checked) override {
    if (checks[static_cast<std::size_t>(c)] == checked) return;
    checks[static_cast<std::size_t>(c)] = checked;
    if (c == Check::kLink) Run(&TForm1::LinkClick);
  }
  std::string EditText(Edit e) const override { return edits[static_cast<std::size_t>(e)]; }
  void SetEditText(Edit e, const std::string& text) override { edits[static_cast<std::size_t>(e)] = text; }
  void SetEditEnabled(Edit, bool on) override { prefix_enabled = on; }
  void SetEditColour(Edit, std::uint32_t colour) override { prefix_colour = colour; }
  std::vector<std::string> MemoLines() override { return memo; }
  void SetMemoLines(const std::vector<std::string>& lines) override { memo = lines; }
  std::optional<std::string> Execute(Dialog d) override {
    dialogs_shown.push_back(d);
    std::optional<std::string> answer = dialog_answers.front();
    dialog_answers.pop_front();
    return answer;
  }
  void ShowError(const std::string& text) override { errors.push_back(text); }

  void SetStatusText(const std::string& text) override { status = text; }
  void SetStatusColour(StatusColour colour) override { status_error = colour == StatusColour::kError; }
  bool StatusShowsError() const override { return status_error; }
  void SetProgress(long long value) override { progress = value; }
  void SetGaugeBackground(GaugeBackground background) override { gauge_back = GaugeColour(background); }
  void RepaintNow() override {}
  void EnableRun(bool on) override { run_enabled = on; }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
};

}  // namespace junmaru::form::testing
