#include "win32_control_set.h"

#include "colour_ref.h"

namespace junmaru::win32 {

using junmaru::form::Caption;
using junmaru::form::Check;
using junmaru::form::Dialog;
using junmaru::form::Spin;

Label* Win32ControlSet::CaptionLabel(Caption caption) const {
  switch (caption) {
    case Caption::kPassRead: return c_.PassRead;
    case Caption::kPassSave: return c_.PassSave;
    case Caption::kLogLine: return c_.LogLine;
    case Caption::kLogFirst: return c_.LogFirst;
    case Caption::kLogLast: return c_.LogLast;
    case Caption::kLogStart: return c_.LogStart;
    case Caption::kLogEnd: return c_.LogEnd;
  }
  return nullptr;
}

SpinEdit* Win32ControlSet::SpinOf(Spin spin) const {
  switch (spin) {
    case Spin::kPStart: return c_.PStart;
    case Spin::kPEnd: return c_.PEnd;
    case Spin::kPRank: return c_.PRank;
    case Spin::kFontSize: return c_.FontSize;
    case Spin::kNameMax: return c_.NameMax;
  }
  return nullptr;
}

CheckBox* Win32ControlSet::CheckOf(Check check) const {
  CheckBox* const boxes[] = {c_.CDouga, c_.COnsei, c_.CSyoko, c_.CJpeg, c_.CGazou, c_.CText,
                             c_.CExe,   c_.CHtml,  c_.CCss,   c_.CCgi,  c_.Link};
  return boxes[static_cast<int>(check)];
}

Edit* Win32ControlSet::EditOf(junmaru::form::Edit edit) const {
  Edit* const edits[] = {c_.CBG, c_.CBorder, c_.CText1, c_.CText2, c_.CLink, c_.ALink, c_.VLink, c_.Prefix};
  return edits[static_cast<int>(edit)];
}

// A message box shown while the window is being destroyed stands on its own.
HWND Win32ControlSet::Owner() const {
  return window_.Handle() && IsWindowVisible(window_.Handle()) ? window_.Handle() : nullptr;
}

void Win32ControlSet::SetCaption(Caption caption, const std::string& text) { CaptionLabel(caption)->SetCaption(text); }

std::string Win32ControlSet::SpinText(Spin spin) const { return SpinOf(spin)->Text(); }
void Win32ControlSet::SetSpinText(Spin spin, const std::string& text) { SpinOf(spin)->SetText(text); }
std::int32_t Win32ControlSet::SpinMin(Spin spin) const { return SpinOf(spin)->MinValue(); }
std::int32_t Win32ControlSet::SpinMax(Spin spin) const { return SpinOf(spin)->MaxValue(); }
void Win32ControlSet::SetSpinMax(Spin spin, std::int32_t maximum) { SpinOf(spin)->SetMaxValue(maximum); }

bool Win32ControlSet::Checked(Check check) const { return CheckOf(check)->Checked(); }
void Win32ControlSet::SetChecked(Check check, bool checked) { CheckOf(check)->SetChecked(checked); }

std::string Win32ControlSet::EditText(junmaru::form::Edit edit) const { return EditOf(edit)->Text(); }
void Win32ControlSet::SetEditText(junmaru::form::Edit edit, const std::string& text) { EditOf(edit)->SetText(text); }
void Win32ControlSet::SetEditEnabled(junmaru::form::Edit edit, bool enabled) { EditOf(edit)->SetEnabled(enabled); }
void Win32ControlSet::SetEditColour(junmaru::form::Edit edit, std::uint32_t colour) {
  EditOf(edit)->SetBackground(colour);
}

std::vector<std::string> Win32ControlSet::MemoLines() { return c_.Marukin->Lines(); }
void Win32ControlSet::SetMemoLines(const std::vector<std::string>& lines) { c_.Marukin->SetLines(lines); }

std::optional<std::string> Win32ControlSet::Execute(Dialog dialog) {
  const FileDialog& shown = dialog == Dialog::kOpenDialog ? *c_.OpenDialog : *c_.SaveDialog;
  return shown.Execute(window_.Handle());
}

void Win32ControlSet::ShowError(const std::string& text) { junmaru::win32::ShowError(Owner(), text); }

void Win32ControlSet::SetStatusText(const std::string& text) { c_.State->SetCaption(text); }
void Win32ControlSet::SetStatusColour(junmaru::StatusColour colour) {
  c_.State->SetErrorColour(colour == junmaru::StatusColour::kError);
}
bool Win32ControlSet::StatusShowsError() const { return c_.State->ShowsError(); }
void Win32ControlSet::SetProgress(long long progress) { c_.Gauge->SetProgress(progress); }
void Win32ControlSet::SetGaugeBackground(junmaru::GaugeBackground background) {
  c_.Gauge->SetBackColour(junmaru::form::GaugeColour(background));
}
void Win32ControlSet::RepaintNow() { window_.RepaintNow(); }

void Win32ControlSet::EnableRun(bool enabled) {
  c_.BtnGo->SetEnabled(enabled);
  c_.PStart->SetEnabled(enabled);
  c_.PEnd->SetEnabled(enabled);
}

void Win32ControlSet::ShowMessage(const std::string& text) { ShowInformation(Owner(), text); }

}  // namespace junmaru::win32
