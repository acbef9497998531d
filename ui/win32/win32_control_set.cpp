#include "win32_control_set.h"

#include "buttons.h"
#include "colour_ref.h"
#include "edits.h"
#include "error_text.h"
#include "label.h"
#include "progress_gauge.h"
#include "spin_edit.h"

namespace junmaru::win32 {

using form::ControlId;
using form::kGauge;
using form::kStatusLine;

// A message box shown while the window is being destroyed stands on its own.
HWND Win32ControlSet::Owner() const {
  if (modal_) return modal_;
  return window_.Handle() && IsWindowVisible(window_.Handle()) ? window_.Handle() : nullptr;
}

void Win32ControlSet::SetCaption(ControlId label, const std::string& text) { c_.Get<Label>(label)->SetCaption(text); }

std::string Win32ControlSet::SpinText(ControlId spin) const { return c_.Get<SpinEdit>(spin)->Text(); }
void Win32ControlSet::SetSpinText(ControlId spin, const std::string& text) { c_.Get<SpinEdit>(spin)->SetText(text); }
std::int32_t Win32ControlSet::SpinMin(ControlId spin) const { return c_.Get<SpinEdit>(spin)->MinValue(); }
std::int32_t Win32ControlSet::SpinMax(ControlId spin) const { return c_.Get<SpinEdit>(spin)->MaxValue(); }
void Win32ControlSet::SetSpinMax(ControlId spin, std::int32_t maximum) {
  c_.Get<SpinEdit>(spin)->SetMaxValue(maximum);
}

bool Win32ControlSet::Checked(ControlId check) const { return c_.Get<CheckBox>(check)->Checked(); }
void Win32ControlSet::SetChecked(ControlId check, bool checked) { c_.Get<CheckBox>(check)->SetChecked(checked); }

std::string Win32ControlSet::EditText(ControlId edit) const { return c_.Get<Edit>(edit)->Text(); }
void Win32ControlSet::SetEditText(ControlId edit, const std::string& text) { c_.Get<Edit>(edit)->SetText(text); }
void Win32ControlSet::SetEditEnabled(ControlId edit, bool enabled) { c_.Get<Edit>(edit)->SetEnabled(enabled); }
void Win32ControlSet::SetEditColour(ControlId edit, std::uint32_t colour) {
  c_.Get<Edit>(edit)->SetBackground(colour);
}

std::vector<std::string> Win32ControlSet::MemoLines(ControlId memo) { return c_.Get<Memo>(memo)->Lines(); }
void Win32ControlSet::SetMemoLines(ControlId memo, const std::vector<std::string>& lines) {
  c_.Get<Memo>(memo)->SetLines(lines);
}

std::optional<std::string> Win32ControlSet::Execute(ControlId dialog) {
  return c_.dialogs[dialog.index]->Execute(window_.Handle());
}

bool Win32ControlSet::ShowModal(const form::ModalDialog& d, const std::function<bool()>& accept) {
  DialogWindow& dialog = *c_.windows[d.window.index];
  modal_ = dialog.Handle();
  const bool taken = dialog.RunModal(*c_.Get<PushButton>(d.ok), *c_.Get<PushButton>(d.cancel), accept,
                                     [this](const std::function<void()>& handler) {
                                       try {
                                         handler();
                                       } catch (...) {
                                         ShowError(form::CurrentErrorDisplayText());
                                       }
                                     });
  modal_ = nullptr;
  return taken;
}

void Win32ControlSet::ShowError(const std::string& text) { junmaru::win32::ShowError(Owner(), text); }

void Win32ControlSet::SetStatusText(const std::string& text) { c_.Get<StatusLine>(kStatusLine)->SetCaption(text); }
void Win32ControlSet::SetStatusColour(junmaru::StatusColour colour) {
  c_.Get<StatusLine>(kStatusLine)->SetErrorColour(colour == junmaru::StatusColour::kError);
}
bool Win32ControlSet::StatusShowsError() const { return c_.Get<StatusLine>(kStatusLine)->ShowsError(); }
void Win32ControlSet::SetProgress(long long progress) { c_.Get<ProgressGauge>(kGauge)->SetProgress(progress); }
void Win32ControlSet::SetGaugeBackground(junmaru::GaugeBackground background) {
  c_.Get<ProgressGauge>(kGauge)->SetBackColour(form::GaugeColour(background));
}
void Win32ControlSet::RepaintNow() { window_.RepaintNow(); }

void Win32ControlSet::EnableRun(bool enabled) {
  for (ControlId id : form::kRunControls) c_.controls[id.index]->SetEnabled(enabled);
}

void Win32ControlSet::ShowMessage(const std::string& text) { ShowInformation(Owner(), text); }

}  // namespace junmaru::win32
